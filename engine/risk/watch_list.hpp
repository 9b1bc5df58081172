#pragma once
// The horizon scan of every region: at the as-of year Y, the species that could arrive next,
// ranked by their risk of a first record in (Y, Y + H], beside how well the same model sorted
// the region's species one horizon earlier (its own check). One fit serves every species.
//
// A species is on the lists when it had reached at least the model's minimum of regions by Y
// and has a region left. The region's check: the model fitted at Y - 2H gives every species
// scored at Y - H that had not reached the region then a risk for (Y - H, Y]; the check's AUC
// is the chance that a species that arrived there got the higher risk than one that did not.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/typed_table.hpp"
#include "engine/risk/risk_steps.hpp"

namespace el::engine {

struct WatchEntry {
    std::string species;
    double risk = 0;
};

struct WatchRegion {
    int region = 0;  // region number (file order)
    std::string name;
    std::vector<WatchEntry> species;  // by risk, highest first (ties in species-list order)
    RiskFigure checkAuc;
    int checkArrivals = 0;  // species newly recorded in (Y - H, Y] among those checked
    int checkSpecies = 0;   // species checked in the region
};

struct WatchList {
    double asOf = 0;
    double horizon = 0;
    std::optional<RiskModel> model;  // fitted at Y - H
    std::string reason;              // why there is none (and so no list)
    std::optional<RiskModel> checkModel;
    std::string checkReason;
    std::vector<SpeciesLeftOut> leftOut;
    std::vector<WatchRegion> regions;  // every region, in file order
};

// `asOf`: nothing for the latest date of the species analysed. Throws RunError for a basis
// that cannot be answered, Cancelled when a checkpoint stops the work.
WatchList computeWatchList(const RiskBasis& basis, std::optional<double> asOf, Feedback& feedback);

// One row per region and species on its list: region, number (from 1), rank, species, risk,
// and the region's check_auc (empty where it cannot be computed).
el::PredictionTable watchTable(const WatchList& list);

}  // namespace el::engine
