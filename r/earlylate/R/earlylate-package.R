# The package's compiled code: the routines Rcpp registers, and Rcpp's namespace loaded with it.

#' @useDynLib earlylate, .registration = TRUE
#' @importFrom Rcpp evalCpp
#' @noRd
NULL
