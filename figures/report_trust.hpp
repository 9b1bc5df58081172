#pragma once
// The first section of a report, "How far to trust this forecast": the target's fit, whether
// its dates follow the region scores at all, the regions that are overdue, what the trial
// spread measures, and the hindcast made with the run. The section after the others shows
// the hindcast plots.

#include <optional>

#include "figures/report_content.hpp"
#include "figures/report_document.hpp"

namespace el::figures {

void addTrustSection(ReportDocument& doc, const ReportContent& content);
void addHindcastSection(ReportDocument& doc, const ReportContent& content);

// "MAE 14.6 years (hindcast from 2011)" for the latest cut-off year with a mean error.
std::optional<std::string> hindcastErrorText(const ReportContent& content);

}  // namespace el::figures
