# The log of a run from R is the batch runner's log of the same data and settings, line
# for line; the expected logs are the batch runner's, and are compared with it anew when it
# is at hand.

test_that("the log of every case equals the batch runner's kept log", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(60)
  local_epoch()
  for (i in seq_len(nrow(cases()))) {
    case <- cases()[i, ]
    x <- el_read(extdata(case$data))
    expect_identical(package_log(case, x), readLines(fixture(paste0(case$name, ".log")), encoding = "UTF-8"),
                     label = case$name)
  }
})

test_that("the kept logs are what the batch runner writes now", {
  local_time_limit(60)
  batch <- batch_runner()
  dir <- local_folder(c(extdata("sample.csv"), extdata("spread.csv")))
  for (i in seq_len(nrow(cases()))) {
    case <- cases()[i, ]
    out <- run_batch(batch, dir, strsplit(case$batch_args, " ")[[1]], case$data)
    expect_identical(out$status, 0L, label = case$name)
    expect_identical(out$log, readLines(fixture(paste0(case$name, ".log")), encoding = "UTF-8"), label = case$name)
  }
})

test_that("the examine-weight grid is the batch runner's weight-test file", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(60)
  local_epoch()
  grid <- suppressWarnings(el_examine_weight(el_read(extdata("sample.csv")), "Invader", training = 0.7))
  expect_identical(nrow(grid), 40000L)
  expect_identical(unique(grid$similarity_power)[1:3], c(0, 0.1, 0.2))
  # The best pair's coefficient is the one a forecast at that pair gives.
  best <- grid[which.max(grid$r_all), ]
  fc <- suppressWarnings(el_forecast(el_read(extdata("sample.csv")), "Invader", training = 0.7,
                                     reliability = FALSE, weight_power = best$similarity_power,
                                     sample_power = best$sample_power))
  expect_equal(fc$species$r_all[fc$species$target], best$r_all, tolerance = 1e-9)

  batch <- batch_runner()
  dir <- local_folder(extdata("sample.csv"))
  run_batch(batch, dir, c("-t", "Invader", "--examine-weight", "--training-ratio", "0.7"), "sample.csv")
  # Each line ends in: target, similarity power, sample power, training, validation, all.
  lines <- readLines(file.path(dir, "WeightTestInvader.csv"))[-1]
  fields <- do.call(rbind, strsplit(lines, ","))
  number <- function(k) { v <- as.numeric(fields[, ncol(fields) - 5 + k]); v[v == -10] <- NA; v }
  expect_identical(nrow(fields), nrow(grid))
  expect_equal(grid$similarity_power, number(1), tolerance = 1e-12)
  expect_equal(grid$sample_power, number(2), tolerance = 1e-12)
  expect_equal(grid$r_training, number(3), tolerance = 1e-12)
  expect_equal(grid$r_validation, number(4), tolerance = 1e-12)
  expect_equal(grid$r_all, number(5), tolerance = 1e-12)
})

test_that("the predictions table is the batch runner's, and the hindcast table its block", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(60)
  local_epoch()
  fc <- el_forecast(el_read(extdata("spread.csv")), "Invader", reliability = FALSE)
  hc <- el_hindcast(el_read(extdata("spread.csv")), "Invader", c(2008, 2017), reliability = FALSE)
  expect_identical(hc$reached_later, c(26L, 12L))
  expect_equal(hc$auc, c(.978021978021978, .952380952380952), tolerance = 1e-12)
  expect_equal(hc$distance_spearman[2], -.0184214863835948, tolerance = 1e-10)

  batch <- batch_runner()
  dir <- local_folder(extdata("spread.csv"))
  run_batch(batch, dir, c("-t", "Invader", "--no-reliability", "--predictions", "p.csv"), "spread.csv")
  expected <- read.csv(file.path(dir, "p.csv"), stringsAsFactors = FALSE, na.strings = "")
  actual <- sf::st_drop_geometry(fc$regions)
  expect_identical(names(actual), names(expected))
  for (column in names(expected)) {
    if (all(is.na(expected[[column]]))) {  # read.csv gives an empty column no type
      expect_true(all(is.na(actual[[column]])), label = column)
    } else {
      expect_equal(actual[[column]], expected[[column]], tolerance = 1e-14, label = column)
    }
  }
})
