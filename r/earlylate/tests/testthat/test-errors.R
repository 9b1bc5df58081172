# Refusals are R errors with the tool's own texts, and nothing writes a file.

bad_status_table <- function() {
  data.frame(name = c("A", "B", "C"), sp1 = c(1990, 2000, 1991), sp2 = c("1995", "2001", "arrived"))
}

test_that("bad input gives an R error with the tool's message and changes no file", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(30)
  local_epoch()
  dir <- local_folder(c(fixture("bad_status_value.csv"), fixture("truncated_record.csv"), extdata("sample.csv")))
  old <- setwd(dir)
  on.exit(setwd(old), add = TRUE)
  before <- folder_state(dir)

  expect_error(el_read("truncated_record.csv"), "The file ends inside the  3th data of vector file (count)",
               fixed = TRUE, class = "earlylate_error")
  expect_error(el_read("nothing.csv"), "Cannot open file: nothing.csv", fixed = TRUE, class = "earlylate_error")
  bad_value <- "Region C, species sp2: the value \"arrived\" is neither a keyword nor a number"
  stop_file <- expect_error(el_forecast(el_read("bad_status_value.csv")), class = "earlylate_error")
  expect_identical(conditionMessage(stop_file), bad_value)
  expect_true(any(startsWith(stop_file$log, "Supervised forecasting")))
  stop_table <- expect_error(el_forecast(bad_status_table(), file_name = "bad_status_value.csv"),
                             class = "earlylate_error")
  expect_identical(conditionMessage(stop_table), bad_value)
  expect_identical(stop_table$log, stop_file$log)
  expect_error(el_examine_weight(bad_status_table(), "sp2"), bad_value, fixed = TRUE)
  # A hindcast year whose run stops is a warning beside the other years, as in the batch runner.
  expect_warning(hindcast <- el_hindcast(bad_status_table(), "sp2", 1995), bad_value, fixed = TRUE)
  expect_identical(hindcast$error, bad_value)
  expect_true(is.na(hindcast$auc))

  x <- el_read("sample.csv")
  expect_error(el_forecast(x, species = c("SpA", "Nope")), "\"Nope\" is not a variable of sample.csv", fixed = TRUE)
  expect_error(el_hindcast(x, "Invader", 2000, species = c("SpA", "SpB")),
               "the target species \"Invader\" is not among the species analysed", fixed = TRUE)
  Sys.setenv(SOURCE_DATE_EPOCH = "yesterday")
  expect_error(el_forecast(x, "Invader"), "SOURCE_DATE_EPOCH must be a whole number of seconds", fixed = TRUE)
  Sys.setenv(SOURCE_DATE_EPOCH = kEpoch)
  grid <- suppressWarnings(el_examine_weight(x, "Invader"))  # writes its weight-test file elsewhere
  expect_gt(nrow(grid), 0)
  expect_identical(folder_state(dir), before)
})

test_that("the batch runner gives the same messages for the same files", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(30)
  batch <- batch_runner()
  dir <- local_folder(c(fixture("bad_status_value.csv"), fixture("truncated_record.csv")))
  for (file in c("bad_status_value.csv", "truncated_record.csv")) {
    out <- run_batch(batch, dir, character(), file)
    expect_identical(out$status, 1L)
    expected <- sub("^earlylate: ", "", out$stderr)
    message <- tryCatch({ el_forecast(el_read(file.path(dir, file))); "" }, earlylate_error = conditionMessage)
    expect_identical(message, expected, label = file)
  }
})

test_that("arguments of the wrong kind are refused before anything runs", {
  local_time_limit(30)
  x <- bad_status_table()
  expect_error(el_forecast(x, trials = "many"), "trials must be a number")
  expect_error(el_forecast(x, reliability = NA), "reliability must be TRUE or FALSE")
  expect_error(el_forecast(x, target = c("sp1", "sp2")), "target must be a string")
  expect_error(el_forecast(x, missing = "nothing"), "should be one of")
  expect_error(el_forecast(x, threads = 1.5), "threads must be a whole number")
  expect_error(el_forecast(x, threads = -1), "threads must be a whole number")
  expect_error(el_forecast(x, name = "region"), "there is no column \"region\" with the region names", fixed = TRUE)
  expect_error(el_forecast(x[, "name", drop = FALSE]), "the data frame has no species column")
  expect_error(el_forecast(list(name = "A")), "x must be a data frame")
  expect_error(el_forecast(x, species = character()), "species must name one or more species columns")
  expect_error(el_examine_weight(x, "sp1", trails = 10), "unknown argument: trails")
  expect_error(el_hindcast(x, "sp1", years = "2000"), "years must be one or more cut-off years")
  # The hindcast's own checks, as the batch runner and the window make them.
  expect_error(el_hindcast(x, "sp1", years = Inf), "\"inf\" is not a year", fixed = TRUE, class = "earlylate_error")
  expect_error(el_hindcast(x, "sp1", 2000, targets = "all", threads = 0),
               "The thread count takes a whole number from 1 to 256, not \"0\"", fixed = TRUE)
  expect_error(el_hindcast(x, "sp1", 1995, targets = c("sp1", "Nope")),
               "targets: \"Nope\" is not among the species analysed", fixed = TRUE)
})

test_that("a threads argument reaches the setting, or is ignored with a warning where the core has none", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(30)
  local_epoch()
  x <- el_read(extdata("sample.csv"))
  plain <- suppressWarnings(el_forecast(x, "Invader", reliability = FALSE))
  if ("threads" %in% earlylate:::el_settings_live()$name) {
    two <- suppressWarnings(el_forecast(x, "Invader", reliability = FALSE, threads = 2))
    expect_identical(two$settings[["threads"]], "2")
  } else {
    warnings <- character()
    two <- withCallingHandlers(el_forecast(x, "Invader", reliability = FALSE, threads = 2), warning = function(w) {
      warnings <<- c(warnings, conditionMessage(w))
      invokeRestart("muffleWarning")
    })
    expect_true(any(grepl("no setting \"threads\"", warnings)))
  }
  expect_identical(two$log, plain$log)
})
