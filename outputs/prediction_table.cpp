#include "outputs/prediction_table.hpp"

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "engine/run/skill.hpp"
#include "engine/kernels/status_matrix.hpp"

namespace el::engine {
namespace {

const char* roleText(RegionRole role) {
    switch (role) {
    case RegionRole::Training: return "training";
    case RegionRole::Validation: return "validation";
    case RegionRole::Other:
    case RegionRole::Excluded: return "";
    }
    return "";
}

TableCell text(std::string value) { return TableCell::ofText(std::move(value)); }
TableCell number(double value) { return TableCell::ofNumber(value); }

// The target's variable in the data set (the last of its name, as the run chose it), or -1.
int targetVariable(const vec::VectorData& data, const RunResult& result) {
    if (result.target < 0) return -1;
    return variableNamed(data, result.speciesNames[static_cast<std::size_t>(result.target)]);
}

// The trial spread of region k in the units of the report's SD column for the target.
TableCell dateSd(const RunResult& result, std::size_t k) {
    if (result.target < 0 || !result.trials.ran) return {};
    const SpeciesOutcome& target = result.species[static_cast<std::size_t>(result.target)];
    const double sd = result.trials.eigensd[k];
    return number(target.fit.predictable ? target.scale * sd : sd);
}

struct RowContext {
    const vec::VectorData& data;
    const RunResult& result;
    const std::string& missvalue;
    int targetVariable;
    const std::vector<bool>& overdue;  // per region number; empty without a target
};

std::vector<TableCell> row(const RowContext& cx, std::size_t k, int p) {
    const RunResult& result = cx.result;
    std::vector<TableCell> cells;
    cells.push_back(text(cx.data.objects[k].name));
    cells.push_back(number(static_cast<double>(k + 1)));
    cells.push_back(text(p >= 0 ? "yes" : "excluded"));
    cells.push_back(text(roleText(result.role[k])));
    std::string actual = cx.targetVariable >= 0 ? cx.data.objects[k].values[static_cast<std::size_t>(cx.targetVariable)] : "";
    cells.push_back(text(equalsIgnoringAsciiCase(actual, cx.missvalue) ? "" : actual));
    const bool used = p >= 0, trials = used && result.trials.ran;
    cells.push_back(used ? number(result.score[static_cast<std::size_t>(p)]) : TableCell());
    cells.push_back(trials ? number(result.trials.eigenmean[k]) : TableCell());
    cells.push_back(trials ? number(result.trials.eigensd[k]) : TableCell());
    cells.push_back(used ? dateSd(result, k) : TableCell());
    for (const SpeciesOutcome& species : result.species)
        cells.push_back(used && species.fit.predictable ? number(species.predicted[static_cast<std::size_t>(p)])
                                                        : TableCell());
    cells.push_back(text(k < cx.overdue.size() && cx.overdue[k] ? "yes" : ""));
    return cells;
}

std::string csvText(const std::string& value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
    std::string quoted = "\"";
    for (char c : value) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string csvField(const TableColumn& column, const TableCell& cell) {
    if (cell.empty) return "";
    return column.type == ColumnType::Text ? csvText(cell.text) : decimalnum(cell.number);
}

}  // namespace

PredictionTable predictionTable(const vec::VectorData& data, const RunResult& result, const std::string& missvalue) {
    PredictionTable table;
    table.columns = {{"region", ColumnType::Text},     {"number", ColumnType::Integer},   {"used", ColumnType::Text},
                     {"role", ColumnType::Text},       {"actual", ColumnType::Text},      {"score", ColumnType::Number},
                     {"trial_mean", ColumnType::Number}, {"trial_sd", ColumnType::Number}, {"date_sd", ColumnType::Number}};
    for (const std::string& name : result.speciesNames) table.columns.push_back({"Predicted_" + name, ColumnType::Number});
    table.columns.push_back({"overdue", ColumnType::Text});

    const std::size_t regions = data.objects.size();
    std::vector<int> positionOf(regions, -1);
    for (std::size_t p = 0; p < result.regno.size(); ++p)
        if (static_cast<std::size_t>(result.regno[p]) < regions) positionOf[static_cast<std::size_t>(result.regno[p])] = static_cast<int>(p);
    const auto skill = targetSkill(data, result);
    const std::vector<bool> overdue = skill ? skill->overdueRegion : std::vector<bool>();
    const RowContext cx{data, result, missvalue, targetVariable(data, result), overdue};
    for (std::size_t k = 0; k < regions && k < result.role.size(); ++k) table.rows.push_back(row(cx, k, positionOf[k]));
    return table;
}

std::string tableCsv(const PredictionTable& table) {
    std::string out;
    // Separator and field appended one after the other: GCC 12 at -O2 takes "text" +
    // temporary for an overlapping copy (-Wrestrict).
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        out.append(c > 0 ? "," : "").append(csvText(table.columns[c].name));
    out += "\r\n";
    for (const auto& cells : table.rows) {
        for (std::size_t c = 0; c < cells.size() && c < table.columns.size(); ++c)
            out.append(c > 0 ? "," : "").append(csvField(table.columns[c], cells[c]));
        out += "\r\n";
    }
    return out;
}

}  // namespace el::engine
