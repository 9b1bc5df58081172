#pragma once
// The steps every risk computation shares, whether for one target (risk.hpp) or for every
// species of a hindcast (risk_hindcast.hpp): the data known at a year, the early-late runs
// of the species at a cut-off, their cases and a fitted model's risks.

#include <string>
#include <vector>

#include "base/settings.hpp"
#include "engine/hindcast/region_distance.hpp"
#include "engine/risk/inner_scores.hpp"
#include "engine/risk/risk_features.hpp"
#include "engine/risk/risk_model.hpp"
#include "engine/risk/risk_result.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

// What a risk computation is given besides its target or its years.
struct RiskBasis {
    const vec::VectorData* data = nullptr;  // the data set as read
    std::vector<std::string> species;       // the species list
    double horizon = 10;
    std::string missvalue = "null";
    std::string calculationDate;
    SettingValues settings;
    int threads = 1;
    RiskRules rules;
};

// The data known at a year, and what the cut-offs of one computation share.
struct KnownData {
    const RiskBasis* basis = nullptr;
    double upTo = 0;  // the year: later dates read "NotYetArrived"
    vec::VectorData data;
    ReachTable reach{0, 0, {}};
    RegionCentres centres;
    bool distance = false;  // some region has a centroid
};

// Throws RunError for a basis without data or with a horizon that is not a number above 0.
void checkBasis(const RiskBasis& basis);

KnownData knownAt(const RiskBasis& basis, double year);

InnerRunRequest innerRequest(const KnownData& known);

// The shared inputs of the cases at `cutoff` inside the data known.
CaseInputs inputsAt(const KnownData& known, double cutoff);

// The species positions for which keep(s) holds, in list order.
template <class Keep>
std::vector<int> speciesWhere(const KnownData& known, Keep keep) {
    std::vector<int> out;
    for (int s = 0; s < known.reach.species(); ++s)
        if (keep(s)) out.push_back(s);
    return out;
}

// The cases of `species` at `cutoff` from their runs' scores; with `fitting`, a species whose
// run stopped is left out (and listed in `leftOut`), else it takes part with its score at the
// middle.
std::vector<SpeciesCase> casesAt(const KnownData& known, const CaseInputs& inputs, double cutoff,
                                 const std::vector<int>& species, const std::vector<SpeciesScore>& scores, bool fitting,
                                 std::vector<SpeciesLeftOut>* leftOut);

// Those of `species` (with their runs' `scores`) that a fit at `cutoff` takes.
void fittedAmong(const KnownData& known, double cutoff, const std::vector<int>& species,
                 const std::vector<SpeciesScore>& scores, std::vector<int>& fitted,
                 std::vector<SpeciesScore>& fittedScores);

// The model fitted at `cutoff` on the species fitted on there, from their runs.
FittedModel fitAt(const KnownData& known, double cutoff, const std::vector<int>& species,
                  const std::vector<SpeciesScore>& scores, std::vector<SpeciesLeftOut>& leftOut);

// The model fitted at `cutoff` on those of the scored `species` (with their runs' `scores`)
// that a fit there takes: the forecast's fit, one horizon before its as-of year.
FittedModel fitAmongScored(const KnownData& known, double cutoff, const std::vector<int>& species,
                           const std::vector<SpeciesScore>& scores, std::vector<SpeciesLeftOut>& leftOut);

RiskRegion riskRegion(const KnownData& known, const RiskModel& model, const RegionCase& region);

// The base rate at `cutoff`: over the species scored there (enough regions reached, one
// not), the share of the regions not reached at the cut-off newly reached in (cutoff, cutoff + H].
RiskFigure baseRateAt(const KnownData& known, double cutoff);

}  // namespace el::engine
