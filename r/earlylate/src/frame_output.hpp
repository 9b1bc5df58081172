#pragma once
// Data sets and tables of the core as R values.

#include <Rcpp.h>

#include "ops/diagnostic.hpp"
#include "outputs/prediction_table.hpp"
#include "vector/vector_data.hpp"

namespace el::rpkg {

// The missing-value text every Read and run from R uses, as the batch runner does.
inline const std::string kMissValue = "null";

// The data set as list(name, values, geometry): the region names, a named list with one
// column per species (numbers when every value present is a number, else texts; `missvalue`
// in any letter case is NA), and each region's geometry as WKB.
Rcpp::List frameOfData(const vec::VectorData& data, const std::string& missvalue);

// The table as a named list of columns: texts, integers or numbers, empty cells NA.
Rcpp::List listOfTable(const engine::PredictionTable& table);

// Texts as an R character vector in UTF-8.
Rcpp::CharacterVector utf8Vector(const std::vector<std::string>& texts);

// The texts of `diagnostics`, each named by its kind ("undated_species", ...): the R side
// makes each a condition of that class.
Rcpp::CharacterVector diagnosticVector(const ops::Diagnostics& diagnostics);

}  // namespace el::rpkg
