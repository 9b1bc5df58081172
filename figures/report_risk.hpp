#pragma once
// The report's section on the risk of a first record, when one was asked for: it leads the
// trust section. The check's sentences, the regions most at risk, and the reliability
// figure of the check one horizon earlier.

#include "figures/report_content.hpp"
#include "figures/report_document.hpp"

namespace el::figures {

void addRiskSection(ReportDocument& doc, const ReportContent& content);

}  // namespace el::figures
