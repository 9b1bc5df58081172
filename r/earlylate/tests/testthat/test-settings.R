# The package's settings code is the one generated from the settings table of the core it is
# linked with: names, start-up values, help and the arguments' defaults cannot drift.

test_that("the settings code equals a fresh generation from the linked core", {
  local_time_limit(10)
  live <- earlylate:::el_settings_live()
  fresh <- new.env()
  eval(parse(text = live$code), envir = fresh)
  expect_setequal(ls(fresh, all.names = TRUE),
                  c(".el_settings", ".el_choices", ".el_arguments", ".el_forecast_formals", ".el_read_formals",
                    ".el_hindcast_formals", ".el_records_switches"))
  for (name in ls(fresh, all.names = TRUE))
    expect_identical(get(name, envir = asNamespace("earlylate")), fresh[[name]], label = name)
  expect_identical(as.list(formals(el_forecast)), fresh$.el_forecast_formals)
  expect_identical(as.list(formals(el_read)), fresh$.el_read_formals)
  expect_identical(as.list(formals(el_hindcast)), fresh$.el_hindcast_formals)
  expect_identical(as.list(formals(el_records))[names(fresh$.el_records_switches)], fresh$.el_records_switches)
  expect_identical(fresh$.el_settings$name, live$name)
  expect_identical(fresh$.el_settings$help, live$help)
})

test_that("the defaults of el_forecast are the start-up values of their settings", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(30)
  local_epoch()
  fc <- suppressWarnings(el_forecast(el_read(extdata("sample.csv")), "Invader"))
  live <- earlylate:::el_settings_live()
  startup <- setNames(live$startup, live$name)
  untouched <- c("weightpower", "samplen", "trainingratio", "iterationn", "doreliability", "autoweight",
                 "missingmode", "simoutput", "elmatrixoutput", "excludelimited", "excludinglimit")
  expect_identical(fc$settings[untouched], startup[untouched])
})
