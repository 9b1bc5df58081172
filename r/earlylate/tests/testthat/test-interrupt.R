# Ctrl-C in R stops a run at its next checkpoint with an R interrupt, and R goes on. The
# package presses it itself, through the signal Ctrl-C sends, at a chosen checkpoint
# (local_interrupt_at), so no test waits on a clock or a second process.

# Regions reached in a fixed order by five species, and a target that has reached two
# thirds of them: a run of a few hundred checkpoints in a few megabytes.
spread_table <- function(regions = 24) {
  i <- seq_len(regions)
  frame <- data.frame(name = sprintf("R%02d", i))
  for (j in 1:5) frame[[sprintf("S%d", j)]] <- 1940 + 8 * j + (i * (j + 2)) %% regions / 2
  frame$Invader <- ifelse(i <= 16, as.character(1990 + i), "NotYetArrived")
  frame
}

test_that("an interrupt stops each kind of run, and the next run is whole", {
  local_time_limit(30)
  local_epoch()
  x <- spread_table()
  runs <- list(
    forecast = function() el_forecast(x, "Invader", trials = 200)$log,
    examine = function() el_examine_weight(x, "Invader", reliability = FALSE),
    hindcast = function() el_hindcast(x, "Invader", years = c(2000, 2003), reliability = FALSE),
    all_targets = function() el_hindcast(x, years = 2000, targets = "all", reliability = FALSE,
                                         min_before = 3, min_after = 1))
  for (name in names(runs)) {
    whole <- suppressWarnings(runs[[name]]())
    expect_gt(NROW(whole), 0)
    local({
      local_interrupt_at(3)
      expect_true(interrupted(suppressWarnings(runs[[name]]())), info = name)
    })
    # Nothing of the stop is left: the same run again gives the whole result.
    expect_identical(suppressWarnings(runs[[name]]()), whole, info = name)
  }
})

test_that("the interrupt comes at the checkpoint asked for, once", {
  local_time_limit(30)
  x <- spread_table()
  forecast <- function() suppressWarnings(el_forecast(x, "Invader", reliability = FALSE))
  # At the first checkpoint and at a late one; past the run's last one nothing stops it.
  local({
    local_interrupt_at(1)
    expect_true(interrupted(forecast()))
  })
  local({
    local_interrupt_at(1e6)
    expect_false(interrupted(forecast()))
  })
  # One interrupt per arming: the run after the interrupted one completes.
  local({
    local_interrupt_at(2)
    expect_true(interrupted(forecast()))
    expect_false(interrupted(forecast()))
  })
})

test_that("an interrupt stops the reading of a vector file", {
  skip_if_not_installed("sf")  # el_read needs sf
  local_time_limit(30)
  local({
    local_interrupt_at(1)
    expect_true(interrupted(el_read(extdata("spread.csv"))))
  })
  expect_s3_class(el_read(extdata("spread.csv")), "sf")
})
