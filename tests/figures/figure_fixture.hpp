#pragma once
// Small data sets and runs for the figure tests, built in memory.

#include <string>
#include <vector>

#include "engine/model/run_result.hpp"
#include "vector/vector_data.hpp"

namespace el::figures::test {

inline vec::VectorPart ring(std::vector<double> x, std::vector<double> y) { return {"", std::move(x), std::move(y)}; }

// Four regions in plane coordinates: a polygon, a two-part area, a line and a point.
inline vec::VectorData fourRegions() {
    vec::VectorData data;
    data.objects = {{{}, "polygon", "P", {ring({0, 1, 1, 0}, {0, 0, 1, 1})}},
                    {{}, "area", "A", {ring({2, 3, 3}, {0, 0, 1}), ring({4, 5, 5}, {0, 0, 1})}},
                    {{}, "line", "L", {ring({0, 5}, {2, 2})}},
                    {{}, "point", "Q", {ring({6}, {3})}}};
    data.sizes.objn = 4;
    return data;
}

// Target species 0 with a = 2, b = 1998; region 2 excluded; region 1 a validation region.
inline engine::RunResult fourRegionRun() {
    engine::RunResult run;
    run.status = engine::RunStatus::Completed;
    run.regno = {0, 1, 3};
    run.score = {1, 2, 3};
    run.speciesNames = {"T"};
    run.target = 0;
    run.species = {{{.nt = 2, .nv = 1, .predictable = true, .a = 2, .b = 1998, .rt = 0.9, .rv = 0.5, .rw = 0.8},
                    0,
                    {2000, 2002, 2004}}};
    run.regionNames = {"P", "A", "L", "Q"};
    run.actualDate = {2001.0, 2003.0, std::nullopt, 2004.0};
    run.actualText = {"2001", "2003", "Unknown", "2004"};
    run.role = {engine::RegionRole::Training, engine::RegionRole::Validation, engine::RegionRole::Excluded,
                engine::RegionRole::Training};
    return run;
}

// Square regions named `names` side by side on a row, `size` units wide, from (x0, y0);
// every region used, predicted in turn 2000, 2001, ...
inline vec::VectorData squareRow(const std::vector<std::string>& names, double x0, double y0, double size) {
    vec::VectorData data;
    for (std::size_t k = 0; k < names.size(); ++k) {
        const double x = x0 + size * static_cast<double>(k);
        data.objects.push_back({{}, "polygon", names[k], {ring({x, x + size, x + size, x}, {y0, y0, y0 + size, y0 + size})}});
    }
    data.sizes.objn = static_cast<int>(names.size());
    return data;
}

inline engine::RunResult squareRowRun(const std::vector<std::string>& names, const std::string& species) {
    engine::RunResult run;
    run.status = engine::RunStatus::Completed;
    run.speciesNames = {species};
    run.target = 0;
    run.species = {{{.nt = static_cast<int>(names.size()), .nv = 0, .predictable = true, .a = 1, .b = 2000, .rt = 0.9,
                     .rv = engine::kNotComputable, .rw = 0.9},
                    0,
                    {}}};
    for (std::size_t k = 0; k < names.size(); ++k) {
        run.regno.push_back(static_cast<int>(k));
        run.score.push_back(static_cast<double>(k));
        run.species[0].predicted.push_back(2000.0 + static_cast<double>(k));
        run.regionNames.push_back(names[k]);
        run.actualDate.push_back(2000.0 + static_cast<double>(k) + (k % 2 ? 0.5 : -0.5));
        run.actualText.push_back(std::to_string(2000 + k));
        run.role.push_back(engine::RegionRole::Training);
    }
    return run;
}

}  // namespace el::figures::test
