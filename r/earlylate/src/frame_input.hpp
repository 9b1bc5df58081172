#pragma once
// A data frame from R as the data set a Read would give: one object per row, the species
// columns as the values' texts, the geometry from sf's well-known binary.

#include <Rcpp.h>

#include "vector/vector_data.hpp"
#include "wkb.hpp"

namespace el::rpkg {

// One value of a column as the text a table cell would hold: numbers in the data set's plain
// form, logicals as TRUE/FALSE, texts as they are; "" for NA. Throws std::runtime_error for
// a column of another type (a list).
std::string plainCellText(SEXP column, R_xlen_t row);

// The shape of one raw WKB vector; throws std::runtime_error naming `region`.
WkbShape shapeOfRegion(SEXP wkb, const std::string& region);

// `names`: the region names; `columns`: a named list of species columns, each character,
// double, integer or logical (NA: missing value); `geometry`: a list of raw WKB vectors, one
// per row, or NULL for a placeholder point at the origin per region. Values keep the texts
// the vector file would hold: numbers in the data set's plain form, texts as given (made
// safe as fields). Throws std::runtime_error with a sentence for the user.
vec::VectorData dataFromFrame(const Rcpp::CharacterVector& names, const Rcpp::List& columns, SEXP geometry);

}  // namespace el::rpkg
