#pragma once
// A hindcast as every front end asks for one: the data set of a run, its species and
// settings, the cut-off years, and whether the run's target is hindcast, each of several
// species in turn, or both. The checks (a year that is none, a thread count that is no
// count, a candidate that is no species analysed, an eligibility rule out of its range)
// come back as diagnostics naming the value at fault, the hindcasts as their result.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/feedback.hpp"
#include "base/settings.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "ops/diagnostic.hpp"
#include "vector/vector_data.hpp"

namespace el::ops {

struct HindcastRequest {
    const vec::VectorData* data = nullptr;  // the data set of the run, unmasked
    std::vector<std::string> species;       // the species of the run
    std::string missvalue = "null";
    std::string calculationDate;  // "MM-DD-YYYY", for the masked runs' own logs
    SettingValues settings;       // as given to the run: its target and thread count among them
    std::vector<double> years;    // in the order given
    bool targetYears = true;      // the settings' target, year by year
    // Each of several species in turn: {"all"} for every species of the run, else their
    // names; nothing for none.
    std::optional<std::vector<std::string>> targets;
    engine::HindcastEligibility rules;  // which species a year can score
};

// The years typed into a field ("2008, 2012"); a part that is no number is refused (kind
// BadYear, subject the part as typed), and so is an empty field (subject "").
struct TypedYears {
    std::vector<double> years;
    std::optional<Diagnostic> refusal;
};
TypedYears readYears(std::string_view text);

// The refusals of a request, in this order: a target hindcast without a target among the
// species (NoHindcastTarget), no year or one that is no finite number (BadYear, the year),
// the thread count (BadThreadCount, as the settings hold it), a candidate that is no species
// analysed (UnknownTarget, the name), an eligibility rule out of its range (BadEligibilityRule,
// the rule's parameter name). `typed`, when the years were typed, stands for the check of
// `request.years`.
Diagnostics checkHindcast(const HindcastRequest& request, const TypedYears* typed = nullptr);

// The candidates of `request.targets` in species-list order, each once; empty without targets.
// Throws engine::RunError naming the first that is not among the species.
std::vector<std::string> hindcastCandidates(const HindcastRequest& request);

struct HindcastResult {
    std::vector<engine::HindcastYear> years;        // the target's, when asked for
    std::optional<engine::AllSpeciesHindcast> all;  // of the candidates, when asked for
};

// The hindcasts asked for: the target's first, then the candidates', on the thread count
// the settings allow; both count on as one progress of ProgressStage::Hindcasts. Throws
// engine::RunError with the first refusal's text when the request has one, Cancelled when
// stopped. `targetDone`, when given, has the target's years as soon as they are made (a
// log keeps them even when the hindcast over several species is then stopped).
using TargetYearsDone = std::function<void(const std::vector<engine::HindcastYear>&)>;
HindcastResult hindcast(const HindcastRequest& request, Feedback& feedback, const TargetYearsDone& targetDone = {});

// How each front end says a refusal of a hindcast: the batch runner as the usage error of the
// option at fault, the window in its own words for a missing target.
std::string batchUsageText(const Diagnostic& refusal);
std::string windowText(const Diagnostic& refusal);

}  // namespace el::ops
