#pragma once
// The risk model hindcast: at each cut-off year Y, the model fitted inside the data known at
// Y gives every listed species the risk of its regions not reached by Y, and what happened in
// (Y, Y + H] scores it. One fit per year serves every species of that year; nothing after Y
// enters a risk, only its score.
//
// A row's figures are those of a check (risk_check.hpp) over the species' own regions, but
// for the base rate: a hindcast at Y may only know the share of the regions newly reached in
// (Y - H, Y] (over the species scored at Y - H), so base_brier is the Brier score of giving
// every region that share, and bss = 1 - brier / base_brier.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/feedback.hpp"
#include "base/typed_table.hpp"
#include "engine/risk/risk_steps.hpp"

namespace el::engine {

struct RiskHindcastRequest {
    RiskBasis basis;
    std::vector<std::pair<double, std::string>> cases;  // (cut-off year, species), as a hindcast lists them
};

struct HindcastRiskRegion {
    int region = 0;  // region number (file order)
    std::string name;
    double risk = 0;
    std::optional<int> outcome;  // 1: first record in (Y, Y + H]; nothing when the data end before Y + H
};

struct RiskHindcastRow {
    double year = 0;
    std::string species;
    std::vector<HindcastRiskRegion> regions;  // not reached by Y, in file order; empty without a model
    std::string reason;                       // why there is no risk, or no score
    RiskFigure auc, brier, baseBrier, brierSkill, calibrationSlope, calibrationIntercept;
};

struct RiskHindcastYear {
    double year = 0;
    std::optional<RiskModel> model;  // fitted at Y - H on (Y - H, Y]
    std::string reason;              // why there is none
    RiskFigure baseRate;             // of (Y - H, Y]
    std::vector<SpeciesLeftOut> leftOut;
};

struct RiskHindcast {
    double horizon = 0;
    std::vector<RiskHindcastYear> years;  // in the order they first appear among the cases
    std::vector<RiskHindcastRow> rows;    // one per case, in its order
};

// Throws RunError for a basis without data, a horizon not above 0 or a species not among those
// analysed; Cancelled when a checkpoint stops the work. Reports ProgressStage::Hindcasts.
RiskHindcast runRiskHindcast(const RiskHindcastRequest& request, Feedback& feedback);

// One row per (year, species, region): year, species, region, number (from 1), risk and
// outcome (empty where the data end before Y + H).
el::PredictionTable riskTable(const RiskHindcast& hindcast);

// The names of the figures a hindcast table gains, in order, and their values for a row
// (empty cells where a figure cannot be computed).
std::vector<std::string> riskFigureColumns();
std::vector<el::TableCell> riskFigureCells(const RiskHindcastRow& row);

}  // namespace el::engine
