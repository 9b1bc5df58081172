// The per-year spread of a hindcast over many species, and its table.
#include <cmath>

#include "engine/hindcast/hindcast_all.hpp"
#include "engine/hindcast/hindcast_columns.hpp"

namespace el::engine {
namespace {

FigureSpread spreadOf(const std::vector<double>& values) {
    FigureSpread out;
    out.count = static_cast<int>(values.size());
    if (values.empty()) return out;
    double sum = 0;
    for (double v : values) sum += v;
    const double mean = sum / static_cast<double>(values.size());
    out.mean = mean;
    if (values.size() < 2) return out;
    double squares = 0;
    for (double v : values) squares += (v - mean) * (v - mean);
    out.sd = std::sqrt(squares / static_cast<double>(values.size() - 1));
    return out;
}

// The values of one figure over the rows of one year that have it.
struct YearValues {
    std::vector<double> reachedLater, notReached, auc, spearman, mae, distanceAuc, distanceSpearman;
    int pairs = 0;     // rows with both auc and distance_auc
    int aucWins = 0;   // of those, auc above distance_auc
};

void addRow(const SpeciesHindcast& row, YearValues& v) {
    const HindcastFigures& f = row.figures;
    if (row.ran) {
        v.reachedLater.push_back(f.reachedLater);
        v.notReached.push_back(f.notReached);
    }
    const auto add = [](const std::optional<double>& x, std::vector<double>& to) {
        if (x) to.push_back(*x);
    };
    add(f.auc, v.auc);
    add(f.spearman, v.spearman);
    add(f.mae, v.mae);
    add(f.distanceAuc, v.distanceAuc);
    add(f.distanceSpearman, v.distanceSpearman);
    if (f.auc && f.distanceAuc) {
        ++v.pairs;
        if (*f.auc > *f.distanceAuc) ++v.aucWins;
    }
}

TableCell numberCell(const std::optional<double>& value) { return value ? TableCell::ofNumber(*value) : TableCell(); }

}  // namespace

std::vector<HindcastYearSpread> spreadByYear(const std::vector<SpeciesHindcast>& rows, const std::vector<double>& years) {
    std::vector<HindcastYearSpread> out;
    for (double year : years) {
        HindcastYearSpread spread;
        spread.year = year;
        YearValues v;
        for (const SpeciesHindcast& row : rows) {
            if (row.year != year) continue;
            ++spread.species;
            addRow(row, v);
        }
        spread.reachedLater = spreadOf(v.reachedLater);
        spread.notReached = spreadOf(v.notReached);
        spread.auc = spreadOf(v.auc);
        spread.spearman = spreadOf(v.spearman);
        spread.mae = spreadOf(v.mae);
        spread.distanceAuc = spreadOf(v.distanceAuc);
        spread.distanceSpearman = spreadOf(v.distanceSpearman);
        if (v.pairs > 0) spread.aucBeatsDistance = static_cast<double>(v.aucWins) / v.pairs;
        out.push_back(spread);
    }
    return out;
}

el::PredictionTable allSpeciesTable(const AllSpeciesHindcast& hindcast) {
    el::PredictionTable table;
    table.columns = {{std::string(kHindcastYearColumn.name), ColumnType::Number},
                     {std::string(kHindcastSpeciesColumn.name), ColumnType::Text}};
    for (const HindcastColumn& column : kHindcastFigureColumns)
        table.columns.push_back({std::string(column.name), column.count ? ColumnType::Integer : ColumnType::Number});
    for (const SpeciesHindcast& row : hindcast.rows) {
        const HindcastFigures& f = row.figures;
        const auto count = [&](int n) { return row.ran ? TableCell::ofNumber(n) : TableCell(); };
        table.rows.push_back({TableCell::ofNumber(row.year), TableCell::ofText(row.species), count(f.reachedLater),
                              count(f.notReached), numberCell(f.auc), numberCell(f.spearman), numberCell(f.mae),
                              numberCell(f.distanceAuc), numberCell(f.distanceSpearman)});
    }
    return table;
}

}  // namespace el::engine
