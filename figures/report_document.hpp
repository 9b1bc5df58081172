#pragma once
// The report of a run as a sequence of blocks, the same for every file format: headings,
// paragraphs, tables of facts and of regions, and figures.

#include <string>
#include <variant>
#include <vector>

#include "figures/report_content.hpp"
#include "figures/scene.hpp"

namespace el::figures {

struct ReportHeading {
    std::string text;
    int level = 2;  // 1 the document's title, 2 a section
};

struct ReportParagraph {
    std::string text;
};

struct ReportTable {
    std::vector<std::string> header;  // empty for a two-column table of facts
    std::vector<std::vector<std::string>> rows;
};

struct ReportFigure {
    Scene scene;
    std::string caption;
};

using ReportBlock = std::variant<ReportHeading, ReportParagraph, ReportTable, ReportFigure>;

struct ReportDocument {
    std::string title;
    std::vector<ReportBlock> blocks;
};

// "earlylate report: FILE, target NAME": the data by its file name, without its folder, and
// the target species when the run had one.
std::string reportTitle(const ReportContent& content);

ReportDocument buildReport(const ReportContent& content);

}  // namespace el::figures
