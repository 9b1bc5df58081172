#pragma once
// How far a completed run's dates can be trusted for one species, said plainly: its
// training r, whether the forecast has any skill at all, and the regions it calls
// "overdue" (not yet reached, yet predicted to be reached no later than the latest date
// the species has in the data). Pure functions of the data set and the run's result; they
// never touch the log.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/model/run_result.hpp"
#include "vector/vector_data.hpp"

namespace el::engine {

// What every front end says when a forecast has no skill for its species.
inline constexpr std::string_view kNoSkillSentence =
    "the dates do not follow the region scores: this forecast has no skill for this species";

struct SpeciesSkill {
    std::string species;
    std::optional<double> rTraining;  // nothing when the run could not compute it
    bool predictable = false;
    bool noSkill = true;               // not predictable, or training r not above 0
    std::optional<double> latestDate;  // the species' latest date in the data; nothing without one
    int notYetArrived = 0;             // used regions whose value is "NotYetArrived" (or "未分布")
    std::optional<int> overdue;        // of those, predicted at or before latestDate; nothing when not predictable
    std::optional<double> overdueShare;  // overdue / notYetArrived; nothing when either cannot be given
    std::vector<bool> overdueRegion;   // per region number (file order): an overdue region
};

// The skill of species `species` (its position in the run's species list) in a completed
// run on `data`, the data set the run analysed (before any split). Throws std::out_of_range
// for a position the run does not have.
SpeciesSkill speciesSkill(const vec::VectorData& data, const RunResult& result, int species);

// The skill of the run's target species; nothing for a run without one (or that did not complete).
std::optional<SpeciesSkill> targetSkill(const vec::VectorData& data, const RunResult& result);

}  // namespace el::engine
