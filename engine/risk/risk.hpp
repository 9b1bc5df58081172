#pragma once
// The risk of a first record within H years, for one target species and an as-of year Y:
// every region the target has not reached by Y gets P(first record in (Y, Y + H]) from the
// risk model (risk_model.hpp) fitted inside the data known at Y, beside the check of the same
// model one horizon earlier (risk_check.hpp). Nothing after Y is read: the data are masked at
// Y before anything else happens. The log is never touched; the numbers do not depend on
// the number of threads.

#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "engine/risk/risk_result.hpp"
#include "engine/risk/risk_steps.hpp"

namespace el::engine {

struct RiskRequest {
    RiskBasis basis;  // the data set as read, the species list (the target among them), H, ...
    std::string target;
    std::optional<double> asOf;  // Y; nothing: the latest date of the species analysed
};

// Throws RunError for a request that cannot be answered (no data, a target that is not among
// the species, a horizon that is not above 0, a value that is neither a keyword nor a number),
// Cancelled when a checkpoint stops the work. Too few species or arrivals to fit is no error:
// the result then says why there is no risk.
RiskResult computeRisk(const RiskRequest& request, Feedback& feedback);

}  // namespace el::engine
