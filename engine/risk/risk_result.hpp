#pragma once
// What a risk computation leaves for whoever shows it (the predictions column, the summary,
// the map, the report, the window): every figure in typed form and, where one cannot be
// given, the reason in words.

#include <optional>
#include <string>
#include <vector>

#include "engine/risk/risk_check.hpp"
#include "engine/risk/risk_model.hpp"

namespace el::engine {

// A species left out of a fit because its early-late run stopped.
struct SpeciesLeftOut {
    std::string species;
    double cutoff = 0;
    std::string reason;
};

// One region the target has not reached by the as-of year.
struct RiskRegion {
    int region = 0;  // region number (file order)
    std::string name;
    double risk = 0;              // P(first record in (Y, Y + H])
    std::optional<double> score;  // the raw features, as a table would show them
    std::optional<double> distance;
    int otherSpecies = 0;
    std::vector<double> features;  // as the model took them (riskTerms order, intercept left out)
};

// The model one horizon earlier, scored on what happened in (Y - H, Y].
struct RiskCheck {
    double cutoff = 0;               // Y - H: the features
    double upTo = 0;                 // Y: the outcomes
    std::optional<RiskModel> model;  // fitted at Y - 2H on (Y - 2H, Y - H]
    std::string reason;              // why there is no model (and so no figures but the base rate)
    RiskFigure baseRate;             // over the species scored, with or without a model
    std::optional<CheckFigures> figures;
};

struct RiskResult {
    std::string target;
    double asOf = 0;     // Y
    double horizon = 0;  // H
    bool distanceUsed = false;
    std::vector<std::string> notes;  // what was left out and why ("the regions have no geometry: ...")

    std::optional<RiskModel> model;    // fitted at Y - H on (Y - H, Y]
    std::string modelReason;           // why there is none
    std::vector<RiskRegion> regions;   // the target's unreached regions, in file order; empty without a model
    std::vector<int> reached;          // the region numbers the target had reached by Y, in file order
    std::string riskReason;            // why there is no risk ("" when there are risks)
    std::optional<double> targetRate;  // the target's recent rate at Y
    std::vector<SpeciesLeftOut> leftOut;

    RiskCheck check;
    std::vector<std::string> sentences;  // the check said plainly
};

}  // namespace el::engine
