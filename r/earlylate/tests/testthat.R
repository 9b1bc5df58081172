library(testthat)
library(earlylate)

test_check("earlylate")
