# Shared by the tests: the bundled data, the fixture logs and their cases, the batch runner
# when EARLYLATE_BATCH names it, the calculation date and time limits.

# The date every expected log was made with (12-05-2025).
kEpoch <- "1764892800"

extdata <- function(file) system.file("extdata", file, package = "earlylate", mustWork = TRUE)
fixture <- function(file) test_path("fixtures", file)

cases <- function() {
  read.delim(fixture("cases.tsv"), sep = "\t", quote = "", stringsAsFactors = FALSE, encoding = "UTF-8")
}
case_args <- function(case) eval(parse(text = sprintf("list(%s)", case$r_args)))

# Stops the test's code (an R error, or an interrupt inside a run) once `seconds` have passed.
local_time_limit <- function(seconds, env = parent.frame()) {
  setTimeLimit(elapsed = seconds, transient = TRUE)
  do.call(on.exit, list(quote(setTimeLimit(elapsed = Inf)), add = TRUE), envir = env)
}

local_epoch <- function(env = parent.frame()) {
  old <- Sys.getenv("SOURCE_DATE_EPOCH", unset = NA)
  Sys.setenv(SOURCE_DATE_EPOCH = kEpoch)
  restore <- if (is.na(old)) quote(Sys.unsetenv("SOURCE_DATE_EPOCH")) else
    bquote(Sys.setenv(SOURCE_DATE_EPOCH = .(old)))
  do.call(on.exit, list(restore, add = TRUE), envir = env)
}

# A fresh folder holding copies of `files`, removed when the test ends.
local_folder <- function(files, env = parent.frame()) {
  dir <- tempfile("eltest")
  dir.create(dir)
  file.copy(files, dir)
  do.call(on.exit, list(bquote(unlink(.(dir), recursive = TRUE)), add = TRUE), envir = env)
  dir
}

batch_runner <- function() {
  batch <- Sys.getenv("EARLYLATE_BATCH")
  if (!nzchar(batch)) skip("EARLYLATE_BATCH does not name the batch runner")
  normalizePath(batch, mustWork = TRUE)
}

# Runs the batch runner in `dir`; its log (-o) and standard error lines.
run_batch <- function(batch, dir, args, data) {
  log <- file.path(dir, "batch.log")
  err <- file.path(dir, "batch.err")
  old <- setwd(dir)
  on.exit(setwd(old))
  status <- system2(batch, c(args, "-o", "batch.log", data), stdout = FALSE, stderr = err,
                    env = paste0("SOURCE_DATE_EPOCH=", kEpoch))
  list(status = status, log = if (file.exists(log)) readLines(log, encoding = "UTF-8") else character(),
       stderr = readLines(err, encoding = "UTF-8"))
}

# Every file under `dir` with its size, time and digest.
folder_state <- function(dir) {
  files <- list.files(dir, recursive = TRUE, all.files = TRUE, no.. = TRUE)
  info <- file.info(file.path(dir, files))
  data.frame(file = files, size = info$size, mtime = as.numeric(info$mtime),
             md5 = unname(tools::md5sum(file.path(dir, files))))
}

# The log of a case as the package makes it.
package_log <- function(case, x) {
  args <- case_args(case)
  if (case$run == "examine") return(attr(suppressWarnings(do.call(el_examine_weight, c(list(x), args))), "log"))
  years <- args$years
  args$years <- NULL
  log <- suppressWarnings(do.call(el_forecast, c(list(x), args)))$log
  if (case$run == "hindcast") log <- c(log, attr(do.call(el_hindcast, c(list(x), args, list(years = years))), "log"))
  log
}

# Makes the runs of the test raise Ctrl-C's signal at their `count`-th checkpoint (counted
# from now, over the runs), once; disarmed when the test ends. Where R takes Ctrl-C as no
# signal (Windows), the test is skipped.
local_interrupt_at <- function(count, env = parent.frame()) {
  skip_on_os("windows")
  el_interrupt_at_checkpoint(as.integer(count))
  do.call(on.exit, list(quote(el_interrupt_at_checkpoint(0L)), add = TRUE), envir = env)
}

# TRUE when evaluating `code` ended in an R interrupt, FALSE when it completed.
interrupted <- function(code) tryCatch({ force(code); FALSE }, interrupt = function(e) TRUE)

quiet_records <- function(...) suppressMessages(el_records(...))

# The value of `expr` with the texts of the messages it gave, as attribute "messages".
with_messages <- function(expr) {
  texts <- character()
  value <- withCallingHandlers(expr, message = function(m) {
    texts <<- c(texts, sub("\n$", "", conditionMessage(m)))
    invokeRestart("muffleMessage")
  })
  attr(value, "messages") <- texts
  value
}
