#include "ops/risk_options.hpp"

#include <cmath>

#include "base/numtext.hpp"

namespace el::ops {
namespace {

std::optional<double> numberGiven(const ParamValues& values, Param id) {
    if (!values.given(id)) return std::nullopt;
    return parseNumber(values.text(id));
}

}  // namespace

double RiskOptions::horizonOrDefault() const {
    return horizon ? *horizon : parseNumber(parameter(Param::RiskHorizon).defaultValue).value_or(0);
}

RiskOptions riskOptionsOf(const ParamValues& values) {
    RiskOptions risk;
    risk.horizon = numberGiven(values, Param::RiskHorizon);
    risk.asOf = numberGiven(values, Param::AsOf);
    risk.riskTable = values.text(Param::RiskTable);
    risk.watchList = values.text(Param::WatchList);
    return risk;
}

std::string riskCombinationError(const RiskOptions& risk, const RiskContext& context) {
    if (risk.horizon && (!std::isfinite(*risk.horizon) || *risk.horizon <= 0))
        return "option --risk-horizon takes a number of years above 0, not " + plainnum(*risk.horizon);
    if (risk.asOf && !std::isfinite(*risk.asOf)) return "option --as-of takes a year, not " + plainnum(*risk.asOf);
    if (!risk.riskTable.empty() && !context.hindcast) return "option --risk-table needs --hindcast Y[,Y...]";
    if (risk.horizon && !context.hasTarget && !context.hindcast && risk.watchList.empty())
        return "option --risk-horizon needs a target species (-t NAME), --hindcast or --watch-list";
    const bool asOfUsed = risk.targetRisk(context.hasTarget) || !risk.watchList.empty();
    if (risk.asOf && !asOfUsed)
        return "option --as-of needs --risk-horizon with a target species (-t NAME), or --watch-list";
    return "";
}

std::vector<const std::string*> riskFiles(const RiskOptions& risk) { return {&risk.riskTable, &risk.watchList}; }

}  // namespace el::ops
