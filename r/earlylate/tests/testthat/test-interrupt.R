# Ctrl-C in R stops a long run at its next checkpoint with an R interrupt. The run asked for
# takes some 40 s on the CI machine when nothing stops it.

test_that("an interrupt stops a long run soon, and R goes on", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(60)
  skip_if_not_installed("processx")
  script <- tempfile(fileext = ".R")
  on.exit(unlink(script), add = TRUE)
  writeLines(c(
    "library(earlylate)",
    sprintf("x <- el_read(%s)", deparse(extdata("spread.csv"))),
    "cat('started\\n'); flush(stdout())",
    "started <- Sys.time()",
    "outcome <- tryCatch({ el_forecast(x, 'Invader', trials = 2e6); 'completed' },",
    "                    interrupt = function(e) 'interrupted')",
    "cat(outcome, as.numeric(Sys.time() - started, units = 'secs'), '\\n')"), script)
  rscript <- file.path(R.home("bin"), "Rscript")
  child <- processx::process$new(rscript, script, stdout = "|", stderr = "|",
                                 env = c("current", R_LIBS = paste(.libPaths(), collapse = .Platform$path.sep)))
  on.exit(if (child$is_alive()) child$kill(), add = TRUE)
  child$poll_io(30000)
  expect_identical(child$read_output_lines(), "started", info = child$read_error())
  Sys.sleep(1)
  expect_true(child$is_alive())
  child$interrupt()
  child$wait(20000)
  expect_false(child$is_alive())
  words <- strsplit(trimws(child$read_all_output_lines()), " ")[[1]]
  expect_identical(words[1], "interrupted")
  expect_lt(as.numeric(words[2]), 10)
})
