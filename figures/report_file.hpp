#pragma once
// The report of one completed run in one file, to hand to a colleague: a PDF (A4 pages,
// text selectable, figures as vector drawings) or an HTML page with the figures as inline
// SVG. Writing it never touches the log.

#include <filesystem>
#include <optional>
#include <string>

#include "figures/report_content.hpp"
#include "figures/report_document.hpp"

namespace el::figures {

enum class ReportFormat { Pdf, Html };

// ".pdf" or ".html" (also ".htm") in any letter case; nothing for any other extension.
std::optional<ReportFormat> reportFormatOf(const std::filesystem::path& file);

std::string reportPdf(const ReportDocument& document);
std::string reportHtml(const ReportDocument& document);

std::string reportBytes(const ReportContent& content, ReportFormat format);

// Writes the report whole to `file` (format by its extension); the text of the failure, or
// nothing when it was written.
std::optional<std::string> writeReport(const ReportContent& content, const std::filesystem::path& file);

}  // namespace el::figures
