# The risk of a first record from R: the column, the list, the check in summary(), the
# refusals, and the same numbers as the batch runner's --risk-horizon on the bundled data.

risk_data <- function() el_read(extdata("species.csv"))

test_that("risk_horizon gives the unreached regions a risk and summary() says the check", {
  skip_if_not_installed("sf")
  local_time_limit(120)
  local_epoch()
  x <- risk_data()
  plain <- el_forecast(x, "Sp12", reliability = FALSE)
  fc <- el_forecast(x, "Sp12", reliability = FALSE, risk_horizon = 10, as_of = 2010)
  expect_identical(fc$log, plain$log)
  expect_null(plain$risk)
  expect_false("risk" %in% names(plain$regions))

  regions <- sf::st_drop_geometry(fc$regions)
  actual <- suppressWarnings(as.numeric(regions$actual))
  reached <- regions$actual %in% c("Arrived") | (!is.na(actual) & actual <= 2010)
  unreached <- regions$actual == "NotYetArrived" | (!is.na(actual) & actual > 2010)
  expect_true(all(is.na(regions$risk[reached])))
  expect_true(all(regions$risk[unreached] > 0 & regions$risk[unreached] < 1))
  expect_identical(fc$risk$regions, sum(unreached))

  risk <- fc$risk
  expect_identical(c(risk$horizon, risk$as_of, risk$check$cutoff), c(10, 2010, 2000))
  expect_true(risk$converged)
  expect_identical(names(risk$coefficients)[1], "intercept")
  expect_s3_class(risk$check$reliability, "data.frame")
  expect_identical(sum(risk$check$reliability$regions), risk$check$regions)
  expect_true(risk$check$bss <= 1)

  out <- capture.output(print(summary(fc)))
  expect_true("risk of a first record within 10 years of 2010:" %in% out)
  for (sentence in risk$sentences) expect_true(paste0("  ", sentence) %in% out, label = sentence)
  expect_false(any(grepl("risk of a first record", capture.output(print(summary(plain))))))
})

test_that("the risk arguments are refused clearly where they cannot be used", {
  local_time_limit(60)
  x <- data.frame(name = c("A", "B", "C"), T = c(2000, 2001, NA), S = c(1999, 2002, 2003))
  expect_error(el_forecast(x, risk_horizon = 10), "risk_horizon needs a target species")
  expect_error(el_forecast(x, "T", risk_horizon = 0), "risk_horizon must be a number of years above 0, not 0")
  expect_error(el_forecast(x, "T", risk_horizon = c(5, 10)), "risk_horizon must be one number")
  expect_error(el_forecast(x, "T", as_of = 2000), "as_of needs risk_horizon")
  # Too few species spreading to fit on: no risk, and a warning that says why.
  warnings <- character()
  fc <- withCallingHandlers(el_forecast(x, "T", reliability = FALSE, risk_horizon = 10), warning = function(w) {
    warnings <<- c(warnings, conditionMessage(w))
    invokeRestart("muffleWarning")
  })
  expect_true(any(startsWith(warnings, "No risk for T: ")), label = paste(warnings, collapse = " | "))
  expect_true(all(is.na(fc$regions$risk)))
  expect_false(is.na(fc$risk$reason))
})

test_that("the risk is the batch runner's for the same data and horizon", {
  skip_if_not_installed("sf")
  skip_if_not_installed("jsonlite")
  local_time_limit(180)
  local_epoch()
  fc <- el_forecast(risk_data(), "Sp12", risk_horizon = 10)

  batch <- batch_runner()
  dir <- local_folder(extdata("species.csv"))
  out <- run_batch(batch, dir, c("-t", "Sp12", "--risk-horizon", "10", "--predictions", "p.csv", "--summary",
                                 "s.json"), "species.csv")
  expect_identical(out$status, 0L)
  expect_identical(fc$log, out$log)
  expected <- read.csv(file.path(dir, "p.csv"), stringsAsFactors = FALSE, na.strings = "")
  expect_equal(sf::st_drop_geometry(fc$regions)$risk, expected$risk, tolerance = 1e-12)
  summary <- jsonlite::fromJSON(file.path(dir, "s.json"))$risk
  expect_equal(fc$risk$coefficients, unlist(summary$coefficients), tolerance = 1e-12)
  expect_equal(fc$risk$base_rate, summary$base_rate, tolerance = 1e-12)
  for (figure in c("auc", "brier", "base_brier", "bss", "calibration_slope", "calibration_intercept"))
    expect_equal(fc$risk$check[[figure]], summary$check[[figure]], tolerance = 1e-12, label = figure)
  expect_equal(fc$risk$check$reliability, as.data.frame(summary$check$reliability), tolerance = 1e-12)
  expect_identical(fc$risk$sentences, summary$sentences)
  expect_true(all(paste("earlylate:", fc$risk$sentences) %in% out$stderr))
})
