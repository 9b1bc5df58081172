#pragma once
// What the records entry points share: the regions' shapes from sf's WKB by their keys, the
// build options, and the built data set as the list R takes apart.

#include <Rcpp.h>

#include <map>
#include <string>
#include <vector>

#include "vector/layer_regions.hpp"
#include "vector/records.hpp"

namespace el::rpkg {

using RegionShapes = std::map<std::string, vec::RegionShape>;

// The regions' keys as texts (numbers in their plain form), in layer order; a missing or
// empty key is refused, naming the feature (1-based) and `field`.
std::vector<std::string> regionKeys(SEXP keys, const std::string& field);

// The regions' shapes by key, as the batch runner's regions layer gives them: a feature
// without a key, or whose `empty` is TRUE (R_NilValue: none is), is left out and counted; the
// features that share a key are one region of all their parts.
struct LayerShapes {
    RegionShapes shapes;
    vec::LayerCounts counts;
};
LayerShapes shapesByKey(SEXP keys, const Rcpp::List& geometry, const std::string& field, SEXP empty = R_NilValue);

// `absent`: "unknown" or "notyet"; `shapes` null for a data set without geometry.
vec::BuildOptions buildOptions(const std::string& absent, bool dropUnmatched, const RegionShapes* shapes);

// list(name, values, geometry, summary).
Rcpp::List builtFrame(const vec::BuiltRecords& built, const std::vector<std::string>& summary);

}  // namespace el::rpkg
