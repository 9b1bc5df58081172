# Refusals and warnings of what a run would otherwise guess: a target that names no species,
# duplicated region names, columns that hold codes, species without dates, a training share
# that hides no date, and the encoding assumed for a file.

collect_warnings <- function(expr) {
  caught <- list()
  value <- withCallingHandlers(expr, warning = function(w) {
    caught[[length(caught) + 1]] <<- w
    invokeRestart("muffleWarning")
  })
  list(value = value, warnings = caught)
}

test_that("a target that names no species is an earlylate_error naming the closest species", {
  local_time_limit(30)
  local_epoch()
  x <- el_read(extdata("sample.csv"))
  expect_error(el_forecast(x, target = "invadr"), "no species named \"invadr\"; did you mean \"Invader\"?",
               fixed = TRUE, class = "earlylate_error")
  expect_error(el_hindcast(x, "Invadr", 2000), "no species named \"Invadr\"; did you mean \"Invader\"?",
               fixed = TRUE, class = "earlylate_error")
  expect_error(el_forecast(x, target = "Quercus robur"), "no species named \"Quercus robur\"; the species are",
               fixed = TRUE, class = "earlylate_error")
  expect_error(el_forecast(x, target = "Invader", species = c("SpA", "SpB")),
               "the target species \"Invader\" is not among the species analysed", fixed = TRUE,
               class = "earlylate_error")
})

test_that("questionable input gives warnings of class earlylate_warning and the same log", {
  local_time_limit(30)
  local_epoch()
  frame <- data.frame(name = c("Alpha", "Beta", "Alpha", "Delta", "Epsilon", "Zeta"),
                      T = c("2001", "2003", "2004", "NotYetArrived", "NotYetArrived", "2002"),
                      S = c(1990, 1991, 1993, 1995, 1997, 1992),
                      Kw = c("Arrived", "NotYetArrived", "Arrived", "Arrived", "Arrived", "Arrived"),
                      id = 1:6, plot = sprintf("%03d", c(8, 12, 40, 41, 50, 77)), stringsAsFactors = FALSE)
  run <- collect_warnings(el_forecast(frame, target = "T", training = 0.7, reliability = FALSE))
  expect_true(all(vapply(run$warnings, inherits, logical(1), "earlylate_warning")))
  texts <- vapply(run$warnings, conditionMessage, character(1))
  expect_identical(texts, c(
    "the column \"id\" looks like codes rather than dates (all different whole numbers from 1 to 6, like an identifier); it is analysed as a species",
    "the column \"plot\" looks like codes rather than dates (text with a leading zero such as \"008\"); it is analysed as a species",
    "1 region name is used more than once: \"Alpha\" (2 regions); regions are told apart by their place in the file, not by name",
    "the species \"Kw\" has no dated region (only keywords or missing values): no date can be fitted or predicted for it",
    "the training share 0.7 leaves no validation region for \"T\": it keeps 4 of the 6 regions for training, and \"T\" has a date in only 4 regions (only a hidden date validates the fit)"))
  # Each input warning is classed by its kind as well, as every front end names it.
  expect_identical(vapply(run$warnings[3:5], function(w) class(w)[[1]], character(1)),
                   c("earlylate_duplicated_region_names", "earlylate_undated_species", "earlylate_no_validation"))
  # Only the columns analysed are looked at; the warnings change nothing of the run.
  quiet <- collect_warnings(el_forecast(frame, target = "T", species = c("T", "S"), training = 0.5,
                                        reliability = FALSE))
  expect_identical(vapply(quiet$warnings, conditionMessage, character(1)), texts[3])
  renamed <- frame
  renamed$name[3] <- "Omega"
  same <- collect_warnings(el_forecast(renamed, target = "T", species = c("T", "S"), training = 0.5,
                                       reliability = FALSE))
  expect_length(same$warnings, 0)
  expect_identical(gsub("Omega", "Alpha", same$value$log, fixed = TRUE), quiet$value$log)
})

test_that("a file read in an assumed encoding says which, unless the encoding was named", {
  local_time_limit(30)
  file <- tempfile(fileext = ".csv")
  on.exit(unlink(file), add = TRUE)
  writeBin(c(charToRaw("vector,c\r\nsp1,type$,name$,n,x,y\r\n2001,point,R"), as.raw(0xe9),
             charToRaw("publique fran"), as.raw(0xe7), charToRaw("aise,1,0,0\r\n")), file)
  expect_message(x <- el_read(file), sprintf("read %s as WINDOWS-1252 (not UTF-8); use encoding = to choose another",
                                             basename(file)), fixed = TRUE, class = "earlylate_message")
  expect_identical(x$name, "R\u00e9publique fran\u00e7aise")
  expect_message(named <- el_read(file, encoding = "ISO-8859-1"), NA)
  expect_identical(named$name, x$name)
})
