// --map, --fit-plot, --weight-plot and --report: the figures and the report of a completed
// run as PNG (compressed), SVG and PDF, and as a PDF or HTML report; the log is the same
// with or without them; nothing written for a run that did not complete; usage errors.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/batch_options.hpp"
#include "tests/support/figure_files.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/sample_folder.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

TEST(BatchFigures, CompressedPngAndTheSameMapAsSvgAndPdf) {
    SampleFolder folder;
    // One style of fill: the hatching of forecasts would differ at the edges of its thin lines.
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map-values predicted --map map.PNG --fit-plot fit.png"), 0)
        << folder.read("stderr.txt");
    const std::string png = folder.read("map.PNG");
    EXPECT_LT(png.size(), 150u * 1024) << "the 12-region map";
    for (const auto& [name, width, height] : {std::tuple{"map.PNG", 900, 640}, std::tuple{"fit.png", 760, 560}}) {
        SCOPED_TRACE(name);
        const auto pixels = decodePng(folder.read(name));
        ASSERT_TRUE(pixels);
        EXPECT_EQ(pixels->width, width);
        EXPECT_EQ(pixels->height, height);
        std::set<std::uint32_t> colours;
        for (int y = 0; y < height; y += 2)
            for (int x = 0; x < width; x += 2) colours.insert(pixels->rgb(x, y));
        EXPECT_GT(colours.size(), 20u) << "regions, marks and anti-aliased text";
    }

    ASSERT_EQ(folder.run("-t Invader --no-reliability --map-values predicted --map map.pdf --fit-plot fit.svg"), 0);
    const std::string text = pdfText(folder.dir / "map.pdf");
    EXPECT_NE(text.find("Predicted date of Invader"), std::string::npos) << text;
    EXPECT_NE(text.find("40°E"), std::string::npos) << "the sample's coordinates lie within degree bounds";
    const auto page = pdfPage(folder.dir / "map.pdf", folder.dir);
    const auto pixels = decodePng(png);
    ASSERT_TRUE(page && pixels);
    ASSERT_EQ(page->width, 900);
    // The PDF page shows what the PNG shows, up to anti-aliasing at the edges.
    int alike = 0, all = 0;
    for (int y = 0; y < 640; y += 4)
        for (int x = 0; x < 900; x += 4, ++all) {
            const std::uint32_t a = page->rgb(x, y), b = pixels->rgb(x, y);
            bool close = true;
            for (int shift : {0, 8, 16}) close &= std::abs(static_cast<int>((a >> shift & 0xFF) - (b >> shift & 0xFF))) <= 8;
            alike += close;
        }
    EXPECT_GT(alike, all * 97 / 100);
    const std::string svg = folder.read("fit.svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_EQ(hiddenFilesIn(folder.dir.path()), std::vector<std::string>{});
}

TEST(BatchFigures, ReportAsPdfAndHtmlLeavesTheLogAsItIs) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader -o plain.log"), 0);
    ASSERT_EQ(folder.run("-t Invader -o report.log --map-y-down --report report.pdf"), 0) << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("report.log"), folder.read("plain.log"));
    const std::string text = pdfText(folder.dir / "report.pdf");
    for (const char* expected : {"earlylate report: sample.csv", "Target species: Invader",
                                 "Earliest predicted dates of Invader", "Gunma",
                                 "Stability of the region score under resampling"})
        EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
    // The prediction line and the average trial SD as the log has them.
    const std::string log = folder.read("plain.log");
    const auto line = log.find("Predicted infestation date =");
    ASSERT_NE(line, std::string::npos);
    const std::string prediction = log.substr(line, log.find("\r\n", line) - line);
    std::string flat = text;
    for (char& c : flat) c = c == '\n' ? ' ' : c;
    EXPECT_NE(flat.find(prediction.substr(0, 40)), std::string::npos) << prediction;
    EXPECT_NE(text.find("Average SD of the region score over the fluctuation trials: 0.999"), std::string::npos) << text;

    ASSERT_EQ(folder.run("-t Invader --examine-weight --report report.html --weight-plot weights.png"), 0)
        << folder.read("stderr.txt");
    const std::string html = folder.read("report.html");
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    std::size_t drawings = 0;
    for (std::size_t at = html.find("<svg "); at != std::string::npos; at = html.find("<svg ", at + 1)) ++drawings;
    EXPECT_EQ(drawings, 3u) << "map, fit plot and weights";
    EXPECT_NE(html.find("Best pair (training &amp; validation)"), std::string::npos);
    const auto weights = decodePng(folder.read("weights.png"));
    ASSERT_TRUE(weights);
    EXPECT_EQ(weights->width, 760);
}

// The report is made after the hindcast of the same command and shows it; the log stays as
// it is without the report.
TEST(BatchFigures, ReportShowsTheHindcastOfTheSameCommand) {
    SampleFolder folder;
    fs::copy_file(fs::path(EARLYLATE_SOURCE_DIR) / "data" / "spread.csv", folder.dir / "spread.csv");
    const std::string args = "--quiet -t Invader --no-reliability --hindcast 2008,2011,2014,2017 ";
    ASSERT_EQ(runBatch(folder.dir.path(), args + "-o plain.log spread.csv"), 0) << folder.read("stderr.txt");
    ASSERT_EQ(runBatch(folder.dir.path(), args + "-o hindcast.log --report report.pdf spread.csv"), 0)
        << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("hindcast.log"), folder.read("plain.log"));
    const std::string text = pdfText(folder.dir / "report.pdf");
    EXPECT_LT(text.find("How far to trust this forecast"), text.find("Cut-off"));  // the hindcast table
    EXPECT_LT(text.find("Cut-off"), text.find("Appendix: settings of the run"));
    for (const char* year : {"2008", "2011", "2014", "2017"})
        EXPECT_NE(text.find(std::string("Hindcast of Invader from the data up to ") + year), std::string::npos) << year;
    EXPECT_NE(text.find("0.978"), std::string::npos) << "the AUC of 2008";
    EXPECT_NE(text.find("missed the recorded dates"), std::string::npos);
    ASSERT_EQ(runBatch(folder.dir.path(), args + "--report report.html spread.csv"), 0);
    EXPECT_NE(folder.read("report.html").find("<th>Cut-off year</th>"), std::string::npos);

    // Over every species: the summary and its figure in the trust section, each species' row
    // in the hindcast section.
    fs::copy_file(fs::path(EARLYLATE_SOURCE_DIR) / "data" / "species.csv", folder.dir / "species.csv");
    ASSERT_EQ(runBatch(folder.dir.path(), "--quiet -t Sp12 --no-reliability --hindcast 2005 --hindcast-targets all "
                                          "--report all.html species.csv"),
              0)
        << folder.read("stderr.txt");
    const std::string all = folder.read("all.html");
    const std::size_t summary = all.find("<th>AUC above distance</th>");
    ASSERT_NE(summary, std::string::npos);
    EXPECT_LT(summary, all.find("AUC against its distance AUC; above the dashed diagonal"));
    EXPECT_LT(all.find("<h2>Hindcast</h2>"), all.find("<td>Sp07</td>"));
    EXPECT_LT(all.find("<td>Sp07</td>"), all.find("<h2>Appendix: settings of the run</h2>"));
}

TEST(BatchFigures, NothingWrittenWithoutACompletedRun) {
    SampleFolder folder;
    // Stopped by a bad setting; no species (the log is cleared, no pass runs).
    EXPECT_EQ(folder.run("-t Invader --weight-power six --map map.svg --fit-plot fit.png --report r.pdf"), 1);
    EXPECT_EQ(folder.run("-s '' --map map.svg --fit-plot fit.png --report r.html"), 0);
    EXPECT_FALSE(folder.has("map.svg") || folder.has("fit.png") || folder.has("r.pdf") || folder.has("r.html"));
    // A figure or report that cannot be written stops the run; its log is kept.
    EXPECT_EQ(folder.run("-t Invader --no-reliability -o run.log --map no/such/folder/map.svg"), 1);
    EXPECT_NE(folder.read("stderr.txt").find("cannot be written"), std::string::npos);
    EXPECT_NE(folder.read("run.log").find("Target species:Invader"), std::string::npos);
    EXPECT_EQ(folder.run("-t Invader --no-reliability --report no/such/folder/r.pdf"), 1);
    EXPECT_NE(folder.read("stderr.txt").find("The report file \"no/such/folder/r.pdf\" cannot be written"),
              std::string::npos);
}

TEST(BatchFigures, UsageErrors) {
    SampleFolder folder;
    for (const char* args : {"--map map.jpg",
                             "--fit-plot fit",
                             "--fit-plot",
                             "--map-species SpA",
                             "--map m.svg --map-species Nobody",
                             "-s SpA --map m.svg --map-species SpB",
                             "--report r.txt",
                             "--report",
                             "--map-y-down",
                             "-t Invader --weight-plot w.png",
                             "-t Invader --examine-weight --weight-plot w.gif",
                             "--map-labels",
                             "--map-extent 0,0,1,1",
                             "--map m.svg --map-extent 0,0,1",
                             "--map m.svg --map-extent 0,0,1,1,2",
                             "--map m.svg --map-extent 2,0,1,1",
                             "--map m.svg --map-extent 0,1,1,1",
                             "--map m.svg --map-extent 0,a,1,2",
                             "--map m.svg --map-extent",
                             "--map m.svg --map-values",
                             "--map m.svg --map-values all",
                             "--map-crs EPSG:3035",
                             "--map m.svg --map-crs EPSG:999999",
                             "--map m.svg --map-crs +proj=nonsense"}) {
        EXPECT_EQ(folder.run(args), 2) << args;
        EXPECT_NE(folder.read("stderr.txt").find("earlylate-batch: "), std::string::npos) << args;
    }
    EXPECT_FALSE(folder.has("m.svg") || folder.has("map.jpg") || folder.has("w.png"));
}

// --map-values predicted draws every region by its predicted date; the default ("known") the
// recorded dates and the forecasts apart; --map-extent and --map-labels reach the map.
TEST(BatchFigures, MapValuesExtentAndLabels) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map known.pdf"), 0) << folder.read("stderr.txt");
    ASSERT_EQ(folder.run("-t Invader --no-reliability --map-values predicted --map predicted.pdf"), 0);
    const std::string known = pdfText(folder.dir / "known.pdf"), predicted = pdfText(folder.dir / "predicted.pdf");
    EXPECT_NE(known.find("forecast"), std::string::npos) << known;
    EXPECT_NE(known.find("overdue"), std::string::npos) << known;
    EXPECT_NE(predicted.find("Predicted date of Invader"), std::string::npos) << predicted;
    EXPECT_EQ(predicted.find("forecast"), std::string::npos) << predicted;
    EXPECT_EQ(predicted.find("Gunma"), std::string::npos) << "no names unless asked";

    ASSERT_EQ(folder.run("-t Invader --no-reliability --map-labels --map-extent 138.5,38,140.5,41 --map named.pdf"), 0)
        << folder.read("stderr.txt");
    const std::string named = pdfText(folder.dir / "named.pdf");
    EXPECT_NE(named.find("Gunma"), std::string::npos) << named;
    EXPECT_EQ(named.find("Chiba"), std::string::npos) << "east of the extent: cut away, and its name too";
    EXPECT_EQ(named.find("142°E"), std::string::npos) << named;
}

// The figure and report options are listed (their columns are checked with every other
// option's by BatchHelp).
TEST(BatchFigures, HelpListsTheFigureAndReportOptions) {
    const std::string text = batch::usageText();
    for (const char* option :
         {"--report FILE", "--weight-plot FILE", "--map-y-down", "--map FILE", "--fit-plot FILE", "-t, --target NAME",
          "--map-values known|predicted|risk", "--map-extent XMIN,YMIN,XMAX,YMAX", "--map-labels", "--map-crs CRS"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
}

}  // namespace
}  // namespace el::test
