#pragma once
// The columns of a hindcast's figures, in the order every table of them keeps (the fields of
// HindcastFigures): the title the log's hindcast block and the window's table show, and the
// name the CSV table and the run summary use.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace el::engine {

struct HindcastColumn {
    std::string_view title;
    std::string_view name;
    bool count = false;  // a whole number of regions, not a measure
};

inline constexpr HindcastColumn kHindcastYearColumn{"Year", "year"};
inline constexpr HindcastColumn kHindcastSpeciesColumn{"Species", "species"};

inline constexpr std::array<HindcastColumn, 7> kHindcastFigureColumns{{
    {"Reached later", "reached_later", true},
    {"Not reached", "not_reached", true},
    {"AUC", "auc"},
    {"Spearman", "spearman"},
    {"MAE", "mae"},
    {"Distance AUC", "distance_auc"},
    {"Distance Spearman", "distance_spearman"},
}};

// Where each figure stands in kHindcastFigureColumns.
enum class HindcastFigure { ReachedLater, NotReached, Auc, Spearman, Mae, DistanceAuc, DistanceSpearman };

constexpr const HindcastColumn& hindcastColumn(HindcastFigure figure) {
    return kHindcastFigureColumns[static_cast<std::size_t>(figure)];
}

// The year's title and the figures' titles joined by ",", as the log's header line.
inline std::string hindcastTitleLine() {
    std::string line(kHindcastYearColumn.title);
    for (const HindcastColumn& column : kHindcastFigureColumns) line.append(",").append(column.title);
    return line;
}

}  // namespace el::engine
