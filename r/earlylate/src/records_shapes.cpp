#include "records_shapes.hpp"

#include <stdexcept>

#include "frame_input.hpp"
#include "frame_output.hpp"

namespace el::rpkg {

std::vector<std::string> regionKeys(SEXP keys, const std::string& field) {
    std::vector<std::string> texts;
    for (R_xlen_t i = 0; i < Rf_xlength(keys); ++i) {
        texts.push_back(plainCellText(keys, i));
        if (texts.back().empty())
            throw std::runtime_error("region " + std::to_string(i + 1) + " of the regions has an empty key in field \"" +
                                     field + "\"");
    }
    return texts;
}

RegionShapes shapesByKey(SEXP keys, const Rcpp::List& geometry) {
    if (Rf_xlength(keys) != geometry.size()) throw std::runtime_error("the regions have not one key per geometry");
    RegionShapes shapes;
    for (R_xlen_t i = 0; i < geometry.size(); ++i) {
        const std::string key = plainCellText(keys, i);
        if (key.empty()) continue;
        WkbShape shape = shapeOfRegion(geometry[i], key);
        if (!shapes.emplace(key, vec::RegionShape{shape.type, std::move(shape.parts)}).second)
            throw std::runtime_error("The key \"" + key + "\" is shared by two regions of the regions layer");
    }
    return shapes;
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
