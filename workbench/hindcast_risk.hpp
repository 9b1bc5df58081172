#pragma once
// The risk of a first record on the "Hindcast" tab: with the risk control on, each hindcast
// species-year gains the figures the batch runner's hindcast table gains (risk_auc, brier,
// base_brier, bss, calibration_slope, calibration_intercept), made after the hindcast on the
// page's worker thread, and where a figure cannot be computed, the engine's reason for it.

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/feedback.hpp"
#include "engine/risk/risk_hindcast.hpp"

class QTableWidget;

namespace el::workbench {

using HindcastCases = std::vector<std::pair<double, std::string>>;

struct HindcastRiskMade {
    std::optional<engine::RiskHindcast> hindcast;
    std::string failure;  // why there is none: refused, or stopped
};

// The risk of every case; a refusal of the risk model or a stop becomes the failure.
HindcastRiskMade makeHindcastRisk(const engine::RiskHindcastRequest& request, Feedback& feedback);

QStringList riskFigureTitles();

// Puts the risk figures of `row` into `table`'s row `at` from column `first` on: "null" where a
// figure cannot be computed, its reason as the cell's hover text.
void fillRiskCells(QTableWidget* table, int at, int first, const engine::RiskHindcastRow& row);

// Why the figures of `row` that cannot be computed are missing, the figures of one reason
// together: "2005, Sp03: calibration_slope, calibration_intercept: <reason>". "" when every
// figure is there.
QString riskReasonsText(const engine::RiskHindcastRow& row, bool withSpecies);

// How many rows miss a figure.
int rowsMissingFigures(const engine::RiskHindcast& hindcast);

}  // namespace el::workbench
