// The report of a run: its sections from the content, the earliest and latest regions, the
// trial spread and the weights; the PDF's text and the HTML page with its inline drawings.

#include <gtest/gtest.h>

#include <set>

#include "figures/report_file.hpp"
#include "tests/figures/figure_fixture.hpp"
#include "tests/support/figure_files.hpp"

namespace el::figures {
namespace {

struct Sample {
    Sample() : data(test::squareRow(names, 0, 0, 10)), run(test::squareRowRun(names, "Invader")) {
        content.sourceFile = "sample.csv";
        content.calculationDate = "12-05-2026";
        content.settings = {{"Reliability", "on"}, {"iteration", "100"}};
        content.data = &data;
        content.run = &run;
        content.dateSd = {0.5, 1.5, 0.25, std::nullopt, 2.0, 1.0, 0.75};
        content.trialSpread = 0.9;
    }
    // Predicted 2000, 2001, ... in this order: 秋田 is the earliest, Chiba the latest.
    std::vector<std::string> names{"秋田", "Aomori", "Iwate", "Miyagi", "Gunma", "Saitama", "Chiba"};
    VectorData data;
    engine::RunResult run;
    ReportContent content;
};

const ReportTable* tableAfter(const ReportDocument& doc, const std::string& heading) {
    for (std::size_t b = 0; b + 1 < doc.blocks.size(); ++b)
        if (const auto* h = std::get_if<ReportHeading>(&doc.blocks[b]); h && h->text == heading)
            return std::get_if<ReportTable>(&doc.blocks[b + 1]);
    return nullptr;
}

std::string paragraphs(const ReportDocument& doc) {
    std::string text;
    for (const auto& block : doc.blocks)
        if (const auto* p = std::get_if<ReportParagraph>(&block)) text += p->text + "\n";
    return text;
}

int figureCount(const ReportDocument& doc) {
    int n = 0;
    for (const auto& block : doc.blocks) n += std::holds_alternative<ReportFigure>(block);
    return n;
}

TEST(Report, SectionsFromTheRun) {
    Sample s;
    const ReportDocument doc = buildReport(s.content);
    EXPECT_EQ(doc.title, "earlylate report: sample.csv");
    const ReportTable* header = tableAfter(doc, doc.title);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->rows.at(1), (std::vector<std::string>{"Date of calculation", "12-05-2026"}));
    EXPECT_EQ(header->rows.back(), (std::vector<std::string>{"iteration", "100"}));

    const ReportTable* target = tableAfter(doc, "Target species: Invader");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->rows.back().at(1), "Predicted infestation date = 1 x region score + 2000") << "as the log writes it";
    EXPECT_EQ(target->rows.at(1).at(1), "not computable (0 regions)");

    const ReportTable* earliest = tableAfter(doc, "Earliest predicted dates of Invader");
    const ReportTable* latest = tableAfter(doc, "Latest predicted dates of Invader");
    ASSERT_TRUE(earliest && latest);
    EXPECT_EQ(earliest->header.back(), "SD of trials (date)");
    ASSERT_EQ(earliest->rows.size(), 4u) << "seven regions: four at each end";
    EXPECT_EQ(earliest->rows[0], (std::vector<std::string>{"秋田", "2000.00", "2000", "0.50"}));
    EXPECT_EQ(earliest->rows[3].at(3), "-") << "a region without an SD";
    EXPECT_EQ(latest->rows[0].at(0), "Chiba");
    EXPECT_EQ(latest->rows[1].at(0), "Saitama");
    EXPECT_NE(paragraphs(doc).find("0.900 (date units). Per region from 0.250 to 2.000."), std::string::npos);
    EXPECT_EQ(figureCount(doc), 2) << "map and fit plot";

    // No trials: no SD column, a note instead of the spread; an examine-weight run adds the grid.
    s.content.dateSd.clear();
    s.content.trialSpread.reset();
    s.run.examinedWeights = true;
    s.content.weightGrid.emplace();
    s.content.weightGrid->whole[3 * WeightGrid::kSide + 7] = 0.75;
    const ReportDocument grid = buildReport(s.content);
    EXPECT_EQ(tableAfter(grid, "Earliest predicted dates of Invader")->header.size(), 3u);
    const std::string text = paragraphs(grid);
    EXPECT_NE(text.find("An examine-weight run has no fluctuation trials."), std::string::npos);
    EXPECT_NE(text.find("p1 = 0.3, power for number of samples p2 = 0.7, r = 0.750"), std::string::npos) << text;
    EXPECT_NE(text.find("last pass of the power grid"), std::string::npos);
    EXPECT_EQ(figureCount(grid), 3);

    // Without a target: the map's species, no fit plot.
    s.run.target = -1;
    const ReportDocument plain = buildReport(s.content);
    EXPECT_TRUE(tableAfter(plain, "Species: Invader (the run had no target species)"));
    EXPECT_EQ(figureCount(plain), 2) << "map and weights";
}

TEST(Report, PdfTextAndHtmlPage) {
    Sample s;
    s.content.weightGrid.emplace();
    s.content.weightGrid->whole[0] = 0.5;
    el::test::TempDir dir;
    ASSERT_FALSE(writeReport(s.content, dir / "report.pdf"));
    const std::string text = el::test::pdfText(dir / "report.pdf");
    for (const char* expected : {"earlylate report: sample.csv", "12-05-2026", "Predicted date of Invader",
                                 "Earliest predicted dates of Invader", "秋田", "Chiba", "2006.00"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
    EXPECT_EQ(el::test::readFile(dir / "report.pdf").rfind("%PDF-", 0), 0u);

    s.names[1] = "<b>&";
    s.data.objects[1].name = s.run.regionNames[1] = "<b>&";
    ASSERT_FALSE(writeReport(s.content, dir / "report.HTML"));
    const std::string html = el::test::readFile(dir / "report.HTML");
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    EXPECT_NE(html.find("<td>&lt;b&gt;&amp;</td>"), std::string::npos);
    EXPECT_EQ(html.find("<b>&"), std::string::npos);
    EXPECT_NE(html.find("<td>秋田</td>"), std::string::npos);
    // Three drawings inline, none with an XML declaration, no id twice on the page.
    EXPECT_EQ(el::test::textsAfter(html, "<svg ", '>').size(), 3u);
    EXPECT_EQ(html.find("<?xml"), std::string::npos);
    std::set<std::string> ids;
    for (const std::string& id : el::test::textsAfter(html, " id=\"", '"')) EXPECT_TRUE(ids.insert(id).second) << id;
    EXPECT_GT(ids.size(), 10u);

    EXPECT_EQ(*writeReport(s.content, dir / "report.txt"), "The report file \"" + (dir / "report.txt").string() +
                                                               "\" is neither .pdf nor .html");
    EXPECT_TRUE(writeReport(s.content, dir / "no" / "report.pdf"));
    EXPECT_FALSE(std::filesystem::exists(dir / "report.pdf.part"));
}

}  // namespace
}  // namespace el::figures
