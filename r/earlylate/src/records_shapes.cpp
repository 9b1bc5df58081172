#include "records_shapes.hpp"

#include <stdexcept>

#include "frame_input.hpp"
#include "frame_output.hpp"

namespace el::rpkg {

LayerShapes shapesByKey(SEXP keys, const Rcpp::List& geometry, const std::string& field, SEXP empty) {
    if (Rf_xlength(keys) != geometry.size()) throw std::runtime_error("the regions have not one key per geometry");
    if (!Rf_isNull(empty) && (TYPEOF(empty) != LGLSXP || Rf_xlength(empty) != geometry.size()))
        throw std::runtime_error("the regions have not one emptiness flag per geometry");
    LayerShapes out;
    out.counts.keyField = field;
    std::map<std::string, std::int64_t> features;
    std::vector<std::string> order;  // of each key's first feature
    for (R_xlen_t i = 0; i < geometry.size(); ++i) {
        const std::string key = plainCellText(keys, i);
        if (key.empty()) {
            ++out.counts.featuresWithoutKey;
            continue;
        }
        if (!Rf_isNull(empty) && LOGICAL(empty)[i] == TRUE) {
            ++out.counts.featuresWithoutGeometry;
            continue;
        }
        WkbShape wkb = shapeOfRegion(geometry[i], key);
        vec::RegionShape shape{wkb.type, std::move(wkb.parts)};
        const auto [known, added] = out.shapes.try_emplace(key, shape);
        if (added) order.push_back(key);
        else
            known->second =
                vec::joinedShape(known->second, shape, "the key \"" + key + "\" of field \"" + field + "\"");
        ++features[key];
    }
    for (const std::string& key : order)
        if (features[key] > 1) {
            out.counts.sharedKeys.push_back(key);
            out.counts.featuresJoined += features[key];
        }
    return out;
}

RegionOrder regionOrder(SEXP keys, SEXP empty) {
    if (!Rf_isNull(empty) && (TYPEOF(empty) != LGLSXP || Rf_xlength(empty) != Rf_xlength(keys)))
        throw std::runtime_error("the regions have not one emptiness flag per key");
    RegionOrder order;
    std::map<std::string, int> indexes;
    for (R_xlen_t i = 0; i < Rf_xlength(keys); ++i) {
        const std::string key = plainCellText(keys, i);
        if (key.empty() || (!Rf_isNull(empty) && LOGICAL(empty)[i] == TRUE)) {
            order.regionOfFeature.push_back(NA_INTEGER);
            continue;
        }
        const auto [known, added] = indexes.try_emplace(key, static_cast<int>(order.keys.size()) + 1);
        if (added) order.keys.push_back(key);
        order.regionOfFeature.push_back(known->second);
    }
    return order;
}

vec::BuildOptions buildOptions(const std::string& absent, bool dropUnmatched, const RegionShapes* shapes) {
    vec::BuildOptions options;
    options.absent = absent == "unknown" ? vec::Absence::Unknown : vec::Absence::NotYet;
    options.dropUnmatched = dropUnmatched;
    options.shapes = shapes;
    return options;
}

Rcpp::List builtFrame(const vec::BuiltRecords& built, const std::vector<std::string>& summary) {
    Rcpp::List frame = frameOfData(built.data, kMissValue);
    frame["summary"] = utf8Vector(summary);
    return frame;
}

}  // namespace el::rpkg
