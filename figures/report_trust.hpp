#pragma once
// The first section of a report, "How far to trust this forecast": the target's fit, whether
// its dates follow the region scores at all, the regions that are overdue, what the trial
// spread measures, and the hindcast made with the run. The section after the others shows
// the hindcast plots.

#include <optional>

#include "figures/report_content.hpp"
#include "figures/report_document.hpp"

namespace el::figures {

// Regions the target has not reached ("NotYetArrived" or its synonym) whose predicted date
// falls at or before the latest date the target has in the data.
struct OverdueRegions {
    int overdue = 0;
    int notReached = 0;  // the used regions the target has not reached
    double latestDate = 0;
};

// Nothing without a predictable target or without a dated region of it.
std::optional<OverdueRegions> overdueRegions(const engine::RunResult& run);

// The dates follow the region scores: the target is predictable with a training r above 0.
bool datesFollowScores(const engine::SpeciesFit& fit);

void addTrustSection(ReportDocument& doc, const ReportContent& content);
void addHindcastSection(ReportDocument& doc, const ReportContent& content);

// "MAE 14.6 years (hindcast from 2011)" for the latest cut-off year with a mean error.
std::optional<std::string> hindcastErrorText(const ReportContent& content);

}  // namespace el::figures
