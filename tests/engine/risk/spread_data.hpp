#pragma once
// The risk tests' data set: species spreading over a grid of point regions.

#include <algorithm>
#include <cmath>
#include <string>

#include "base/numtext.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

// Species spreading over a 6 x 6 grid of point regions (half a degree apart), each from its
// own corner region at its own pace since its own start year, with a little noise, until the
// year it stops spreading (2020 at the latest); later regions read "NotYetArrived". The last
// species, T, is the target.
inline vec::VectorData spreadData(int species = 14) {
    const int side = 6;
    vec::VectorData data;
    data.filetype = "vector";
    data.sizes.valn = species;
    data.sizes.objn = side * side;
    data.sizes.maxline = 5;
    data.sizes.maxpolygon = 1;
    data.sizes.maxnode = 1;
    for (int s = 0; s + 1 < species; ++s) data.valname.push_back("S" + std::to_string(s + 1));
    data.valname.push_back("T");
    for (const char* name : {"type$", "name$", "count", "x1", "y1"}) data.valname.push_back(name);
    for (int r = 0; r < side * side; ++r) {
        vec::VectorObject object;
        object.type = "point";
        object.name = "R" + std::to_string(r + 1);
        object.parts.push_back({"", {135 + 0.5 * (r % side)}, {34 + 0.5 * (r / side)}});
        for (int s = 0; s < species; ++s) {
            const int ox = (s * 5) % side, oy = (s * 3) % side;
            const double cells = std::hypot(r % side - ox, r / side - oy);
            const unsigned hash = (static_cast<unsigned>(s) * 2654435761u) ^ (static_cast<unsigned>(r) * 40503u);
            const double date = std::round(1950 + 3 * s + (3 + 2 * (s % 4)) * cells + static_cast<double>(hash % 5));
            const double stops = std::min(2020.0, 1985.0 + 3 * s + 8 * (s % 3));  // no spread after it
            object.values.push_back(date > stops ? "NotYetArrived" : plainnum(date));
        }
        data.objects.push_back(std::move(object));
    }
    return data;
}

}  // namespace el::engine
