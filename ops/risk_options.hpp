#pragma once
// What the batch runner's command line asks of the risk of a first record: the horizon, the
// as-of year and the files, and the rules between them and the other options.

#include <optional>
#include <string>
#include <vector>

#include "base/parameters.hpp"

namespace el::ops {

struct RiskOptions {
    std::optional<double> horizon;  // --risk-horizon H, when given
    std::optional<double> asOf;     // --as-of Y: nothing for the latest date of the species analysed
    std::string riskTable;          // --risk-table FILE, "" for none
    std::string watchList;          // --watch-list FILE, "" for none

    // The horizon of every risk output: the one given, else the default.
    double horizonOrDefault() const;
    // A risk for the target: the predictions' column and the summary's object.
    bool targetRisk(bool hasTarget) const { return horizon.has_value() && hasTarget; }
    // The risk of each hindcast species-year: the hindcast table's figures and the risk table.
    bool hindcastRisk(bool hindcast) const { return hindcast && (horizon || !riskTable.empty()); }
};

RiskOptions riskOptionsOf(const ParamValues& values);

// What else the command line holds that the rules look at.
struct RiskContext {
    bool hasTarget = false;  // -t NAME given
    bool hindcast = false;   // --hindcast Y[,Y...] given
};

// The usage error of risk options that do not fit together or with the rest, or "".
std::string riskCombinationError(const RiskOptions& risk, const RiskContext& context);

// The files the risk options write, for the check against the input file.
std::vector<const std::string*> riskFiles(const RiskOptions& risk);

}  // namespace el::ops
