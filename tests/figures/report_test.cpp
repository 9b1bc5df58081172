// The report of a run: the trust section first and the settings last, the skill and overdue
// statements, the hindcast when one was made, the earliest and latest regions, the score
// stability and the weights; the PDF's pages and text and the HTML page.

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "figures/report_file.hpp"
#include "figures/report_text.hpp"
#include "figures/species_auc_figure.hpp"
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
        // The target's values in the data set as the run recorded them.
        data.valname = {"Invader"};
        data.sizes.valn = 1;
        for (std::size_t k = 0; k < names.size(); ++k) data.objects[k].values = {run.actualText[k]};
    }
    void setValue(std::size_t region, const std::string& text) { data.objects[region].values[0] = text; }
    // Predicted 2000, 2001, ... in this order: 秋田 is the earliest, Chiba the latest.
    std::vector<std::string> names{"秋田", "Aomori", "Iwate", "Miyagi", "Gunma", "Saitama", "Chiba"};
    vec::VectorData data;
    engine::RunResult run;
    ReportContent content;
};

// A hindcast from 2003: three regions reached later, two not reached.
engine::HindcastYear hindcastYear(double year, bool ran) {
    engine::HindcastYear y;
    y.year = year;
    y.ran = ran;
    y.targetName = "Invader";
    if (!ran) {
        y.error = "There are less-connective regions";
        return y;
    }
    using engine::HindcastClass;
    y.regions = {{3, HindcastClass::ReachedLater, 2004, 2005, 1}, {4, HindcastClass::ReachedLater, 2006, 2005, 2},
                 {5, HindcastClass::ReachedLater, 2007, 2009, 3}, {6, HindcastClass::NotReached, 2008, {}, 4}};
    y.figures = engine::scoreRegions(y.regions);
    return y;
}

const ReportTable* tableAfter(const ReportDocument& doc, const std::string& heading) {
    for (std::size_t b = 0; b + 1 < doc.blocks.size(); ++b)
        if (const auto* h = std::get_if<ReportHeading>(&doc.blocks[b]); h && h->text == heading)
            for (std::size_t t = b + 1; t < doc.blocks.size() && !std::holds_alternative<ReportHeading>(doc.blocks[t]); ++t)
                if (const auto* table = std::get_if<ReportTable>(&doc.blocks[t])) return table;
    return nullptr;
}

std::vector<std::string> headings(const ReportDocument& doc) {
    std::vector<std::string> texts;
    for (const auto& block : doc.blocks)
        if (const auto* h = std::get_if<ReportHeading>(&block); h && h->level == 2) texts.push_back(h->text);
    return texts;
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

TEST(Report, TrustFirstSettingsLastAndTheDateInIsoForm) {
    Sample s;
    const ReportDocument doc = buildReport(s.content);
    EXPECT_EQ(doc.title, "earlylate report: sample.csv, target Invader");
    ReportContent elsewhere = s.content;
    elsewhere.sourceFile = "/home/someone/data/sample.csv";
    EXPECT_EQ(reportTitle(elsewhere), doc.title) << "the file's name, not its folder";
    const ReportTable* header = tableAfter(doc, doc.title);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->rows.at(1), (std::vector<std::string>{"Date of calculation", "2026-12-05"}));
    const auto sections = headings(doc);
    ASSERT_GE(sections.size(), 3u);
    EXPECT_EQ(sections.front(), "How far to trust this forecast");
    EXPECT_EQ(sections.back(), "Appendix: settings of the run");
    EXPECT_EQ(tableAfter(doc, sections.back())->rows.back(), (std::vector<std::string>{"iteration", "100"}));
    for (const auto& row : header->rows) EXPECT_NE(row.at(0), "iteration") << "no setting before the appendix";

    const ReportTable* fit = tableAfter(doc, "How far to trust this forecast");
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit->rows.at(0).at(1), "0.900 (7 regions)");
    EXPECT_EQ(fit->rows.at(1).at(1), "not computable (0 regions)");
    const ReportTable* target = tableAfter(doc, "Target species: Invader");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->rows.back().at(1), "Predicted infestation date = 1 x region score + 2000") << "as the log writes it";

    const std::string text = paragraphs(doc);
    EXPECT_NE(text.find("follow the region scores (r = 0.900)"), std::string::npos) << text;
    EXPECT_NE(text.find("stability of the region score under resampling"), std::string::npos);
    EXPECT_NE(text.find("not the error of a predicted date"), std::string::npos);
    EXPECT_NE(text.find("No hindcast was made"), std::string::npos);
    EXPECT_EQ(isoDate("1-5-2026"), "1-5-2026") << "only the log's form is turned";
}

TEST(Report, UnsettledScoresAreSaidInTheTrustSectionAndOnlyThen) {
    Sample s;
    const std::string warning = "The region scores did not settle";
    EXPECT_EQ(paragraphs(buildReport(s.content)).find(warning), std::string::npos) << "a settled run says nothing";
    s.run.scoreIteration = {false, 1000000};
    const ReportDocument doc = buildReport(s.content);
    const std::string text = paragraphs(doc);
    const auto at = text.find(warning);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_NE(text.find("after 1000000 iterations", at), std::string::npos);
    EXPECT_LT(at, text.find("follow the region scores")) << "first in the trust section";
    s.run.target = -1;
    EXPECT_NE(paragraphs(buildReport(s.content)).find(warning), std::string::npos) << "also without a target";
}

TEST(Report, EarliestAndLatestRegionsWithTheirScoreStability) {
    Sample s;
    const ReportDocument doc = buildReport(s.content);
    const ReportTable* earliest = tableAfter(doc, "Earliest predicted dates of Invader");
    const ReportTable* latest = tableAfter(doc, "Latest predicted dates of Invader");
    ASSERT_TRUE(earliest && latest);
    EXPECT_EQ(earliest->header.back(), "Score stability (SD, date units)");
    ASSERT_EQ(earliest->rows.size(), 4u) << "seven regions: four at each end";
    EXPECT_EQ(earliest->rows[0], (std::vector<std::string>{"秋田", "2000.00", "2000", "0.50"}));
    EXPECT_EQ(earliest->rows[3].at(3), "-") << "a region without an SD";
    EXPECT_EQ(latest->rows[0].at(0), "Chiba");
    EXPECT_EQ(latest->rows[1].at(0), "Saitama");
    EXPECT_NE(paragraphs(doc).find("0.900 (date units). Per region from 0.250 to 2.000."), std::string::npos);
    EXPECT_EQ(figureCount(doc), 2) << "map and fit plot";

    // No trials: no stability column, a note instead; an examine-weight run adds the grid.
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
    EXPECT_NE(text.find("is no forecast whose skill could be judged"), std::string::npos);
    EXPECT_EQ(text.find("follow the region scores"), std::string::npos) << "no skill judged on the last pass";
    EXPECT_EQ(figureCount(grid), 3);

    // Without a target: the map's species, no fit plot, and no skill to speak of.
    s.run.target = -1;
    const ReportDocument plain = buildReport(s.content);
    EXPECT_TRUE(tableAfter(plain, "Species: Invader (the run had no target species)"));
    EXPECT_EQ(figureCount(plain), 2) << "map and weights";
    EXPECT_NE(paragraphs(plain).find("had no target species"), std::string::npos);
}

TEST(Report, NoSkillWhenTheDatesDoNotFollowTheScores) {
    Sample s;
    for (const double r : {0.0, -0.13, engine::kNotComputable}) {
        s.run.species[0].fit.rt = r;
        EXPECT_NE(paragraphs(buildReport(s.content)).find("this forecast has no skill for this species"), std::string::npos)
            << r;
    }
    s.run.species[0].fit.rt = 0.9;
    s.run.species[0].fit.predictable = false;
    EXPECT_NE(paragraphs(buildReport(s.content)).find("no skill"), std::string::npos);
}

// Not reached: Miyagi, Gunma and Saitama, predicted 2003, 2004 and 2005; with the latest
// record in 2004 the first two are overdue. A region the run left out is not counted.
TEST(Report, OverdueRegionsAreThoseNotReachedButPredictedByTheLatestRecord) {
    Sample s;
    s.setValue(3, "NotYetArrived");
    s.setValue(4, "未分布");
    s.setValue(5, "NotYetArrived");
    s.setValue(6, "2004");
    EXPECT_NE(paragraphs(buildReport(s.content))
                  .find("Overdue: 2 of 3 regions not yet reached (67\u00A0%) have a predicted "
                        "date at or before 2004"),
              std::string::npos)
        << paragraphs(buildReport(s.content));

    s.run.regno.erase(s.run.regno.begin() + 3);  // Miyagi left out
    s.run.species[0].predicted.erase(s.run.species[0].predicted.begin() + 3);
    EXPECT_NE(paragraphs(buildReport(s.content)).find("Overdue: 1 of 2 regions"), std::string::npos);
    s.run.species[0].fit.predictable = false;
    EXPECT_EQ(paragraphs(buildReport(s.content)).find("Overdue"), std::string::npos) << "no dates, nothing overdue";
}

TEST(Report, HindcastFiguresInTheTrustSectionPlotsAfterAndItsErrorBesideTheDates) {
    Sample s;
    s.content.hindcast = {hindcastYear(2003, true), hindcastYear(2005, false)};
    const ReportDocument doc = buildReport(s.content);
    const ReportTable* figures = tableAfter(doc, "How far to trust this forecast");
    ASSERT_TRUE(figures);
    const ReportTable* hindcast = nullptr;
    for (const auto& block : doc.blocks)
        if (const auto* t = std::get_if<ReportTable>(&block); t && !t->header.empty() && t->header[0] == "Cut-off year")
            hindcast = t;
    ASSERT_TRUE(hindcast);
    ASSERT_EQ(hindcast->rows.size(), 2u);
    EXPECT_EQ(hindcast->rows[0][0], "2003");
    EXPECT_EQ(hindcast->rows[0][1], "3");
    EXPECT_EQ(hindcast->rows[0][5], "1.3") << "errors of 1, 1 and 2 years";
    EXPECT_EQ(hindcast->rows[1][1], "stopped: There are less-connective regions");
    const auto sections = headings(doc);
    const auto at = std::find(sections.begin(), sections.end(), "Hindcast");
    ASSERT_NE(at, sections.end());
    EXPECT_EQ(at + 1, sections.end() - 1) << "the hindcast section comes just before the appendix";
    EXPECT_EQ(figureCount(doc), 4) << "map, fit plot and a plot per cut-off year";
    EXPECT_NE(paragraphs(doc).find("hindcast from 2003 missed the recorded dates"), std::string::npos);
}

// Two species from 2003: one beats its distance, one does not; one more whose run stopped.
engine::AllSpeciesHindcast allSpecies() {
    engine::AllSpeciesHindcast all;
    engine::SpeciesHindcast a{2003, "SpA", true, "", {}}, b{2003, "SpB", true, "", {}}, c{2003, "SpC", false, "split", {}};
    a.figures = {4, 2, 0.9, 0.5, 3.0, 0.6, 0.1};
    b.figures = {3, 1, 0.4, std::nullopt, 12.0, 0.7, std::nullopt};
    all.rows = {a, b, c};
    engine::HindcastYearSpread year;
    year.year = 2003;
    year.species = 3;
    year.auc = {2, 0.65, 0.35355};
    year.distanceAuc = {2, 0.65, 0.07071};
    year.aucBeatsDistance = 0.5;
    all.years = {year};
    return all;
}

TEST(Report, AllSpeciesHindcastSummaryAndFigureFirstItsRowsInTheHindcastSection) {
    Sample s;
    const engine::AllSpeciesHindcast all = allSpecies();
    s.content.allSpecies = all;
    const ReportDocument doc = buildReport(s.content);
    const ReportTable* summary = nullptr;
    const ReportTable* rows = tableAfter(doc, "Hindcast");
    for (const auto& block : doc.blocks)
        if (const auto* t = std::get_if<ReportTable>(&block); t && t->header.size() == 7 && t->header[0] == "Cut-off year")
            summary = t;
    ASSERT_TRUE(summary && rows);
    ASSERT_EQ(summary->rows.size(), 1u);
    EXPECT_EQ(summary->rows[0][1], "3");
    EXPECT_EQ(summary->rows[0][2], "0.650 ± 0.354");
    EXPECT_EQ(summary->rows[0][5], "n/a") << "no Spearman spread given";
    EXPECT_EQ(summary->rows[0][4], "50\u00A0%") << "SpA above its distance AUC, SpB below";
    ASSERT_EQ(rows->rows.size(), 3u);
    EXPECT_EQ(rows->rows[1][1], "SpB");
    EXPECT_EQ(rows->rows[1][5], "n/a") << "a Spearman that could not be computed";
    EXPECT_EQ(rows->rows[2][2], "stopped: split");
    EXPECT_EQ(figureCount(doc), 3) << "map, fit plot and the AUC figure";
    EXPECT_EQ(paragraphs(doc).find("No hindcast was made"), std::string::npos);

    // One point per species with both AUCs; above the diagonal where the forecast won.
    const Scene plot = buildSpeciesAucPlot(all);
    ASSERT_EQ(plot.content.markers.size(), 2u);
    const Marker& spA = plot.content.markers[0];
    const Marker& spB = plot.content.markers[1];
    EXPECT_LT(spA.at.y, spB.at.y) << "SpA's AUC is higher";
    EXPECT_LT(spA.at.x, spB.at.x) << "SpB's distance AUC is higher";
    EXPECT_NE(spA.tip.find("SpA, from 2003"), std::string::npos);
}

// Per page of a PDF: its text lines other than the page number.
std::vector<int> linesPerPage(const std::filesystem::path& pdf) {
    std::vector<int> pages;
    std::istringstream text(el::test::pdfText(pdf));
    std::string line;
    int lines = 0;
    while (std::getline(text, line)) {
        for (std::size_t f; (f = line.find('\f')) != std::string::npos; line.erase(0, f + 1)) {
            pages.push_back(lines);
            lines = 0;
        }
        if (line.find_first_not_of(" ") != std::string::npos && line.rfind("page ", 0) != 0) ++lines;
    }
    return pages;
}

TEST(Report, PdfPagesHoldMoreThanALineOrTwoAndKeepTheOrder) {
    Sample s;
    el::test::TempDir dir;
    for (const bool withHindcast : {false, true}) {
        s.content.hindcast.clear();
        if (withHindcast) s.content.hindcast = {hindcastYear(2003, true), hindcastYear(2004, true)};
        for (int k = 0; k < 20; ++k) s.content.settings.push_back({"setting " + std::to_string(k), "value"});
        ASSERT_FALSE(writeReport(s.content, dir / "report.pdf"));
        const std::vector<int> pages = linesPerPage(dir / "report.pdf");
        ASSERT_GE(pages.size(), 2u);
        for (std::size_t p = 0; p < pages.size(); ++p) EXPECT_GE(pages[p], 4) << "page " << p + 1 << " " << withHindcast;
        const std::string text = el::test::pdfText(dir / "report.pdf");
        const std::size_t trust = text.find("How far to trust this forecast");
        const std::size_t appendix = text.find("Appendix: settings of the run");
        EXPECT_LT(trust, text.find("Earliest predicted dates"));
        EXPECT_LT(text.find("Earliest predicted dates"), appendix);
        EXPECT_LT(appendix, text.find("setting 19"));
        EXPECT_NE(text.find("2026-12-05"), std::string::npos);
        EXPECT_EQ(text.find("12-05-2026"), std::string::npos);
        EXPECT_EQ(text.find("Hindcast of Invader from the data up to 2004") != std::string::npos, withHindcast);
    }
}

TEST(Report, PdfTextAndHtmlPage) {
    Sample s;
    s.content.weightGrid.emplace();
    s.content.weightGrid->whole[0] = 0.5;
    el::test::TempDir dir;
    ASSERT_FALSE(writeReport(s.content, dir / "report.pdf"));
    const std::string text = el::test::pdfText(dir / "report.pdf");
    for (const char* expected : {"earlylate report: sample.csv", "2026-12-05", "Predicted date of Invader",
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
    EXPECT_LT(html.find("<h2>How far to trust this forecast</h2>"), html.find("<h2>Map</h2>"));
    EXPECT_LT(html.find("<h2>Map</h2>"), html.find("<h2>Appendix: settings of the run</h2>"));
    EXPECT_LT(html.find("<h2>Appendix: settings of the run</h2>"), html.find("<td>iteration</td>"));
    // Three drawings inline, none with an XML declaration, no id twice on the page.
    EXPECT_EQ(el::test::textsAfter(html, "<svg ", '>').size(), 3u);
    EXPECT_EQ(html.find("<?xml"), std::string::npos);
    std::set<std::string> ids;
    for (const std::string& id : el::test::textsAfter(html, " id=\"", '"')) EXPECT_TRUE(ids.insert(id).second) << id;
    EXPECT_GT(ids.size(), 10u);

    EXPECT_EQ(*writeReport(s.content, dir / "report.txt"), "The report file \"" + (dir / "report.txt").string() +
                                                               "\" is neither .pdf nor .html");
    EXPECT_TRUE(writeReport(s.content, dir / "no" / "report.pdf"));
    EXPECT_EQ(el::test::hiddenFilesIn(dir.path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace el::figures
