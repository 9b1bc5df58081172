#pragma once
// The weight-test grid: the coefficients of every power pair read back from a weight-test
// file, and its heat map with the best pair marked.

#include <optional>
#include <string>
#include <vector>

#include "figures/scene.hpp"

namespace el::figures {

enum class GridMeasure { Training, Validation, Whole };

struct WeightGrid {
    static constexpr int kSide = 200;  // powers 0, 0.1, ... 19.9
    std::string target;
    // [p1 step * kSide + p2 step] per measure; nothing where no line or the marker -10.
    std::vector<std::optional<double>> training, validation, whole;
    int lines = 0;  // summary lines read

    WeightGrid();
    const std::vector<std::optional<double>>& values(GridMeasure m) const;
};

// Reads the text of a weight-test file: a header line, then one line per pass whose last
// five fields are p1, p2 and the three coefficients. Lines that do not parse are skipped.
WeightGrid parseWeightTest(const std::string& text);

struct BestPair {
    double p1 = 0, p2 = 0, value = 0;
};
std::optional<BestPair> bestPair(const WeightGrid& grid, GridMeasure measure);

Scene buildWeightGridPlot(const WeightGrid& grid, GridMeasure measure, double width = 760, double height = 640);

}  // namespace el::figures
