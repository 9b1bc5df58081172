#include "ops/risk_outputs.hpp"

#include "base/numtext.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/risk.hpp"
#include "engine/risk/watch_list.hpp"
#include "ops/run_outputs.hpp"
#include "ops/table_files.hpp"
#include "outputs/prediction_table.hpp"

namespace el::ops {
namespace {

void writeCsv(const std::string& file, const std::string& what, const el::PredictionTable& table,
              Diagnostics& failures) {
    if (auto failure = writeCsvTable(file, what, table)) failures.push_back(outputNotMade(std::move(*failure), file));
}

// Runs `make`; a request the risk model refuses becomes a failure that names it.
template <class Make>
void refusedAsFailure(const std::string& what, Diagnostics& failures, Make make) {
    try {
        make();
    } catch (const engine::RunError& error) {
        failures.push_back(outputNotMade("The " + what + " cannot be made: " + error.what(), what));
    }
}

int threadsOf(const AfterRunContext& run) { return threadCountOf(run.given.get(Setting::Threads)).value_or(1); }

}  // namespace

engine::RiskBasis riskBasis(const RiskOptions& risk, const AfterRunContext& run) {
    engine::RiskBasis basis;
    basis.data = &run.data;
    basis.species = run.result.speciesNames;
    basis.horizon = risk.horizonOrDefault();
    basis.missvalue = run.missvalue;
    basis.calculationDate = run.calculationDate;
    basis.settings = run.given;
    basis.threads = threadsOf(run);
    return basis;
}

void makeTargetRisk(const RiskOptions& risk, const AfterRunContext& run, Feedback& feedback, RiskMade& made) {
    if (!risk.targetRisk(run.result.target >= 0)) return;
    const engine::RiskRequest request{riskBasis(risk, run),
                                      run.result.speciesNames[static_cast<std::size_t>(run.result.target)], risk.asOf};
    refusedAsFailure("risk of a first record", made.failures,
                     [&] { made.target.emplace(engine::computeRisk(request, feedback)); });
    if (!made.target) return;
    const engine::RiskResult& result = *made.target;
    // The sentences say why there is no risk, when there is none; a note says what was left out.
    for (const std::string& note : result.notes) made.notices.push_back("The risk of " + result.target + ": " + note);
    for (const std::string& sentence : result.sentences) made.notices.push_back(sentence);
    if (result.sentences.empty() && !result.riskReason.empty())
        made.notices.push_back("No risk for " + result.target + ": " + result.riskReason);
}

void makeHindcastRisk(const RiskOptions& risk, const AfterRunContext& run,
                      const std::vector<std::pair<double, std::string>>& cases, Feedback& feedback, RiskMade& made) {
    engine::RiskHindcastRequest request{riskBasis(risk, run), cases};
    refusedAsFailure("risk hindcast", made.failures,
                     [&] { made.hindcast.emplace(engine::runRiskHindcast(request, feedback)); });
    if (!made.hindcast) return;
    const engine::RiskHindcast& hindcast = *made.hindcast;
    for (const engine::RiskHindcastYear& year : hindcast.years)
        if (!year.model)
            made.notices.push_back("No risk in the hindcast for " + plainnum(year.year) + ": " + year.reason);
    if (!risk.riskTable.empty()) writeCsv(risk.riskTable, "risk table", engine::riskTable(hindcast), made.failures);
}

void makeWatchList(const RiskOptions& risk, const AfterRunContext& run, Feedback& feedback, RiskMade& made) {
    if (risk.watchList.empty()) return;
    std::optional<engine::WatchList> computed;
    refusedAsFailure("watch list", made.failures,
                     [&] { computed.emplace(engine::computeWatchList(riskBasis(risk, run), risk.asOf, feedback)); });
    if (!computed) return;
    const engine::WatchList& list = *computed;
    if (!list.model) made.notices.push_back("The watch list for " + plainnum(list.asOf) + " is empty: " + list.reason);
    writeCsv(risk.watchList, "watch list", engine::watchTable(list), made.failures);
}

std::vector<std::pair<double, std::string>> hindcastCases(const engine::AllSpeciesHindcast* all,
                                                          const std::vector<double>& years, const std::string& target) {
    std::vector<std::pair<double, std::string>> cases;
    if (all != nullptr) {
        for (const engine::SpeciesHindcast& row : all->rows) cases.emplace_back(row.year, row.species);
    } else if (!target.empty()) {
        for (const double year : years) cases.emplace_back(year, target);
    }
    return cases;
}

void addRiskFigures(el::PredictionTable& table, const engine::RiskHindcast& hindcast) {
    for (const std::string& name : engine::riskFigureColumns()) table.columns.push_back({name, el::ColumnType::Number});
    for (std::size_t i = 0; i < table.rows.size() && i < hindcast.rows.size(); ++i)
        for (el::TableCell& cell : engine::riskFigureCells(hindcast.rows[i])) table.rows[i].push_back(std::move(cell));
}

}  // namespace el::ops
