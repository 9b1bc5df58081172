#pragma once
// The weight-test grid: the coefficients of every power pair of an examine-weight run, and
// its heat map with the best pair marked.

#include <optional>
#include <string>
#include <vector>

#include "engine/model/run_result.hpp"
#include "figures/scene.hpp"

namespace el::figures {

enum class GridMeasure { Training, Validation, Whole };

struct WeightGrid {
    static constexpr int kSide = 200;  // powers 0, 0.1, ... 19.9
    std::string target;
    // [p1 step * kSide + p2 step] per measure; nothing where no line or the marker -10.
    std::vector<std::optional<double>> training, validation, whole;
    int lines = 0;  // power pairs placed on the grid

    WeightGrid();
    const std::vector<std::optional<double>>& values(GridMeasure m) const;
};

// The grid of an examine-weight run's passes; pairs off the grid are left out.
WeightGrid weightGridOf(const engine::RunResult& run);

struct BestPair {
    double p1 = 0, p2 = 0, value = 0;
};
std::optional<BestPair> bestPair(const WeightGrid& grid, GridMeasure measure);

Scene buildWeightGridPlot(const WeightGrid& grid, GridMeasure measure, double width = 760, double height = 640);

}  // namespace el::figures
