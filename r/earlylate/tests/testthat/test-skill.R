# The skill lines of print and summary, on a forecast made by hand.
hand_forecast <- function(r_training, predictable = TRUE) {
  regions <- data.frame(region = c("A", "B", "C", "D", "E"), used = c("yes", "yes", "yes", "yes", "excluded"),
                        role = c("training", "training", "", "", ""),
                        actual = c("2000", "2004", "NotYetArrived", "\u672a\u5206\u5e03", "NotYetArrived"),
                        date_sd = c(1.5, 2.5, NA, NA, NA), Predicted_T = c(2001, 2003, 2002, 2010, NA),
                        overdue = c(NA, NA, "yes", NA, NA), stringsAsFactors = FALSE)
  species <- data.frame(name = "T", target = TRUE, predictable = predictable, a = 1, b = 2,
                        r_training = r_training, n_training = 2L, stringsAsFactors = FALSE)
  structure(list(file_name = "hand.csv", target = "T", regions = regions, species = species, weights = species,
                 log = character(), seconds = 0), class = "earlylate_forecast")
}

test_that("a forecast without skill says so, with its overdue regions and what the trial spread is", {
  expect_output(print(hand_forecast(-0.13)), "T: the dates do not follow the region scores")
  expect_output(print(hand_forecast(NA, predictable = FALSE)), "no skill for this species")
  out <- capture.output(print(hand_forecast(0.8)))
  expect_false(any(grepl("no skill", out)))
  expect_true("overdue: 1 of the 2 regions not reached yet are predicted no later than the latest date" %in% out)
  expect_true(any(grepl("stability of the region score under resampling.*mean 2$", out)))
})
