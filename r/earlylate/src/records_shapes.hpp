#pragma once
// What the records entry points share: the regions' shapes from sf's WKB by their keys, the
// build options, and the built data set as the list R takes apart.

#include <Rcpp.h>

#include <map>
#include <string>
#include <vector>

#include "vector/records.hpp"

namespace el::rpkg {

using RegionShapes = std::map<std::string, vec::RegionShape>;

// The regions' keys as texts (numbers in their plain form), in layer order; a missing or
// empty key is refused, naming the feature (1-based) and `field`.
std::vector<std::string> regionKeys(SEXP keys, const std::string& field);

// The shapes by key; a region without a key is left out (no record can name it), a key two
// regions share is refused.
RegionShapes shapesByKey(SEXP keys, const Rcpp::List& geometry);

// `absent`: "unknown" or "notyet"; `shapes` null for a data set without geometry.
vec::BuildOptions buildOptions(const std::string& absent, bool dropUnmatched, const RegionShapes* shapes);

// list(name, values, geometry, summary).
Rcpp::List builtFrame(const vec::BuiltRecords& built, const std::vector<std::string>& summary);

}  // namespace el::rpkg
