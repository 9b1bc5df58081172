#pragma once
// Builds small vector data sets in memory for the engine tests: one point object per
// region, its values given row by row.

#include <string>
#include <vector>

#include "vector/vector_data.hpp"

namespace el::test {

inline vec::VectorData makeData(const std::vector<std::string>& variables, const std::vector<std::string>& regions,
                                const std::vector<std::vector<std::string>>& values) {
    vec::VectorData data;
    data.filetype = "vector";
    data.sizes.valn = static_cast<int>(variables.size());
    data.sizes.objn = static_cast<int>(regions.size());
    data.sizes.maxline = 5;
    data.sizes.maxpolygon = 1;
    data.sizes.maxnode = 1;
    data.valname = variables;
    for (const char* name : {"type$", "name$", "count", "x1", "y1"}) data.valname.push_back(name);
    for (std::size_t i = 0; i < regions.size(); ++i) {
        vec::VectorObject object;
        object.values = values[i];
        object.type = "point";
        object.name = regions[i];
        vec::VectorPart part;
        part.x = {static_cast<double>(i)};
        part.y = {0.0};
        object.parts.push_back(part);
        data.objects.push_back(object);
    }
    return data;
}

}  // namespace el::test
