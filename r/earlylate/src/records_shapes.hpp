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

// The regions' shapes by key, as the batch runner's regions layer gives them: a feature
// without a key, or whose `empty` is TRUE (R_NilValue: none is), is left out and counted; the
// features that share a key are one region of all their parts.
struct LayerShapes {
    RegionShapes shapes;
    vec::LayerCounts counts;
};
LayerShapes shapesByKey(SEXP keys, const Rcpp::List& geometry, const std::string& field, SEXP empty = R_NilValue);

// The regions a layer's features make, as shapesByKey makes them: the keys in order of their
// first feature, and the region of each feature.
struct RegionOrder {
    std::vector<std::string> keys;
    std::vector<int> regionOfFeature;  // 1-based indexes into `keys`, NA_INTEGER for a feature left out
};
RegionOrder regionOrder(SEXP keys, SEXP empty);

// `absent`: "unknown" or "notyet"; `shapes` null for a data set without geometry.
vec::BuildOptions buildOptions(const std::string& absent, bool dropUnmatched, const RegionShapes* shapes);

// list(name, values, geometry, summary).
Rcpp::List builtFrame(const vec::BuiltRecords& built, const std::vector<std::string>& summary);

}  // namespace el::rpkg
