#include "engine/kernels/status_matrix.hpp"

#include <cmath>
#include <utility>

#include "base/numtext.hpp"
#include "base/text.hpp"
#include "engine/model/run_error.hpp"

namespace el::engine {
namespace {

constexpr double kKeywordDate = 1e200;  // split key of a keyword region: chosen first


}  // namespace

std::optional<StatusKind> keywordKind(std::string_view text) {
    if (text == "Arrived" || text == "分布") return StatusKind::Arrived;
    if (text == "NotYetArrived" || text == "未分布") return StatusKind::NotYetArrived;
    if (text == "Unknown" || text == "不明") return StatusKind::Unknown;
    return std::nullopt;
}

std::optional<Status> readStatus(std::string_view text) {
    if (const auto kind = keywordKind(text)) return Status{*kind, 0};
    if (const auto number = parseNumber(text)) return Status{StatusKind::Date, *number};
    return std::nullopt;
}

int variableNamed(const vec::VectorData& data, const std::string& name) {
    int variable = -1;
    for (int v = 0; v < data.valn(); ++v)
        if (data.valname[static_cast<std::size_t>(v)] == name) variable = v;
    return variable;
}

SpeciesTable buildSpeciesTable(const vec::VectorData& data, const std::vector<std::string>& species,
                               const std::string& targetName) {
    SpeciesTable table;
    for (int s = 0; s < static_cast<int>(species.size()); ++s) {
        const std::string& name = species[static_cast<std::size_t>(s)];
        const int variable = variableNamed(data, name);
        if (variable < 0) throw RunError("Species \"" + name + "\" is not a variable of the data set");
        table.name.push_back(name);
        table.variable.push_back(variable);
        if (name == targetName) table.target = s;
    }
    return table;
}

StatusMatrix buildStatusMatrix(const vec::VectorData& data, const SpeciesTable& table, const std::string& missvalue,
                               Messenger& messenger, Feedback& feedback) {
    StatusMatrix m;
    m.regions = data.objn();
    m.species = table.size();
    const std::size_t cells = static_cast<std::size_t>(m.regions) * static_cast<std::size_t>(m.species);
    m.text.reserve(cells);
    m.cell.reserve(cells);
    if (table.target) {
        m.actualText.resize(static_cast<std::size_t>(m.regions));
        m.actual.resize(static_cast<std::size_t>(m.regions));
    }
    std::string shown;
    for (int i = 0; i < m.regions; ++i) {
        feedback.checkpoint();  // many species make a long row
        for (int s = 0; s < m.species; ++s) {
            std::string value = data.val(table.variable[static_cast<std::size_t>(s)], i);
            if (value != shown) {
                feedback.caption(Label::Status, value);
                shown = value;
            }
            if (equalsIgnoringAsciiCase(value, missvalue)) {
                messenger.message("Missing value is considered to be Unknown");
                value = "Unknown";
            }
            const auto status = readStatus(value);
            if (!status)
                throw RunError("Region " + data.objects[static_cast<std::size_t>(i)].name + ", species " +
                               table.name[static_cast<std::size_t>(s)] + ": the value \"" + value +
                               "\" is neither a keyword nor a number");
            if (table.target && s == *table.target) {
                m.actualText[static_cast<std::size_t>(i)] = value;
                m.actual[static_cast<std::size_t>(i)] = *status;
            }
            m.text.push_back(std::move(value));
            m.cell.push_back(*status);
        }
    }
    feedback.caption(Label::Status, "");
    return m;
}

int trainingCount(double ratio, int regions) {
    const double n = roundHalfEven(ratio * regions);
    if (n < 0) return 1;
    if (n > regions) return regions;
    return static_cast<int>(n);
}

int readTrainingCount(int regions, SettingsSource& settings) {
    std::string text = settings.setting(Setting::TrainingRatio);
    if (text.empty()) {
        // A new string moved in: GCC 12 at -O2 takes an assigned literal for an overlapping copy (-Wrestrict).
        text = std::string("1");
        settings.setSetting(Setting::TrainingRatio, text);
    }
    return trainingCount(numberOrRunError(text, "training ratio"), regions);
}

std::vector<Status> splitColumn(std::vector<Status> column, int keep) {
    const auto regions = static_cast<int>(column.size());
    std::vector<double> key(column.size());
    for (std::size_t i = 0; i < column.size(); ++i)
        key[i] = column[i].kind == StatusKind::Date ? column[i].date : kKeywordDate;
    for (int round = 0; round < regions - keep; ++round) {
        int j = -1;
        double best = -kKeywordDate;
        for (int i = 0; i < regions; ++i)
            if (key[static_cast<std::size_t>(i)] > best) {
                best = key[static_cast<std::size_t>(i)];
                j = i;
            }
        if (j < 0) throw RunError("No region is left to hide for validation");
        Status& cell = column[static_cast<std::size_t>(j)];
        if (key[static_cast<std::size_t>(j)] < kKeywordDate) cell = Status{StatusKind::NotYetArrived, 0};
        else if (cell.kind == StatusKind::Arrived) cell = Status{StatusKind::Unknown, 0};
        key[static_cast<std::size_t>(j)] = -kKeywordDate;
    }
    return column;
}

void splitTrainingValidation(StatusMatrix& matrix, int target, int keep) {
    std::vector<Status> column;
    for (int i = 0; i < matrix.regions; ++i) column.push_back(matrix.statusAt(i, target));
    column = splitColumn(std::move(column), keep);
    for (int i = 0; i < matrix.regions; ++i) {
        const std::size_t at = matrix.index(i, target);
        const Status& split = column[static_cast<std::size_t>(i)];
        if (split.kind == matrix.cell[at].kind) continue;
        matrix.text[at] = split.kind == StatusKind::NotYetArrived ? "未分布" : "不明";
        matrix.cell[at] = split;
    }
}

}  // namespace el::engine
