// The risk of a first record from the command line: the predictions' column, the summary's
// object, the hindcast and risk tables, the watch list, the refusals, and that none of it
// changes the log.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/figure_files.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

// Species spreading over a 6 x 6 grid of point regions, each from its own corner at its own
// pace, stopping at its own year; later regions read NotYetArrived. The last species, T, is
// the target. Fewer species leave too few to fit a risk model on.
std::string spreadFile(int species) {
    std::string file = "vector,spread\r\n";
    for (int s = 0; s + 1 < species; ++s) file += "S" + std::to_string(s + 1) + ",";
    file += "T,type$,name$,n,x,y\r\n";
    for (int r = 0; r < 36; ++r) {
        for (int s = 0; s < species; ++s) {
            const double cells = std::hypot(r % 6 - (s * 5) % 6, r / 6 - (s * 3) % 6);
            const unsigned hash = (static_cast<unsigned>(s) * 2654435761u) ^ (static_cast<unsigned>(r) * 40503u);
            const int date = static_cast<int>(std::round(1950 + 3 * s + (3 + 2 * (s % 4)) * cells + hash % 5));
            const int stops = std::min(2020, 1985 + 3 * s + 8 * (s % 3));
            file += (date > stops ? std::string("NotYetArrived") : std::to_string(date)) + ",";
        }
        file += "point,R" + std::to_string(r + 1) + ",1," + std::to_string(135 + 0.5 * (r % 6)) + "," +
                std::to_string(34 + 0.5 * (r / 6)) + "\r\n";
    }
    return file;
}

struct SpreadFolder {
    explicit SpreadFolder(int species = 14) {
        std::ofstream(dir / "spread.csv", std::ios::binary) << spreadFile(species);
    }
    int run(const std::string& args) {
        return runBatch(dir.path(), "--quiet --no-reliability " + args + " spread.csv");
    }
    std::string read(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    TempDir dir;
};

// The CSV's rows split into fields (no field here holds a comma or a quote).
std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields;
        std::size_t from = 0;
        for (std::size_t comma; (comma = line.find(',', from)) != std::string::npos; from = comma + 1)
            fields.push_back(line.substr(from, comma - from));
        fields.push_back(line.substr(from));
        rows.push_back(std::move(fields));
    }
    return rows;
}

std::size_t columnOf(const std::vector<std::string>& header, const std::string& name) {
    return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
}

TEST(BatchRisk, TargetRiskFillsItsColumnAndSummaryAndLeavesTheLogAlone) {
    SpreadFolder folder;
    ASSERT_EQ(folder.run("-t T --predictions plain.csv --summary plain.json"), 0) << folder.read("stderr.txt");
    const std::string log = folder.read("stdout.txt");
    EXPECT_EQ(csvRows(folder.read("plain.csv"))[0].back(), "overdue");
    EXPECT_FALSE(nlohmann::json::parse(folder.read("plain.json")).contains("risk"));

    ASSERT_EQ(folder.run("-t T --risk-horizon 10 --as-of 2010 --predictions p.csv --summary s.json"), 0)
        << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("stdout.txt"), log);
    EXPECT_NE(folder.read("stderr.txt").find("regions like these get a first record within 10 years"),
              std::string::npos);
    const auto rows = csvRows(folder.read("p.csv"));
    ASSERT_EQ(rows[0].back(), "risk");
    const std::size_t actual = columnOf(rows[0], "actual");
    int risks = 0;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::string& date = rows[i][actual];
        const bool unreached = date == "NotYetArrived" || std::stod(date) > 2010;
        ASSERT_EQ(!rows[i].back().empty(), unreached) << rows[i][0];
        if (!unreached) continue;
        ++risks;
        EXPECT_GT(std::stod(rows[i].back()), 0);
        EXPECT_LT(std::stod(rows[i].back()), 1);
    }
    EXPECT_GT(risks, 0);

    const auto risk = nlohmann::json::parse(folder.read("s.json"))["risk"];
    EXPECT_EQ(risk["horizon"], 10);
    EXPECT_EQ(risk["as_of"], 2010);
    EXPECT_EQ(risk["converged"], true);
    EXPECT_EQ(risk["coefficients"].size(), 5u);
    EXPECT_TRUE(risk["base_rate"].is_number());
    EXPECT_EQ(risk["regions"], risks);
    EXPECT_EQ(risk["check"]["cutoff"], 2000);
    EXPECT_TRUE(risk["check"]["auc"].is_number());
    EXPECT_EQ(risk["check"]["reliability"].size(), 5u);
}

TEST(BatchRisk, ReportLeadsWithTheRiskSectionOnlyWhenAsked) {
    SpreadFolder folder;
    ASSERT_EQ(folder.run("-t T --report plain.html"), 0) << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("plain.html").find("How likely"), std::string::npos);
    ASSERT_EQ(folder.run("-t T --risk-horizon 10 --as-of 2010 --report r.html"), 0) << folder.read("stderr.txt");
    const std::string html = folder.read("r.html");
    const std::size_t risk = html.find("How likely: the risk of a first record within 10 years of 2010");
    ASSERT_NE(risk, std::string::npos);
    EXPECT_LT(risk, html.find("How far to trust this forecast"));
    EXPECT_NE(html.find("regions like these get a first record within 10 years", risk), std::string::npos);
    EXPECT_NE(html.find("gave the regions not reached by 2000 a risk for 2000-2010", risk), std::string::npos);
    EXPECT_NE(html.find("Regions coloured by the risk of a first record of T within 10 years of 2010", risk),
              std::string::npos);
}

TEST(BatchRisk, RiskMapShowsTheRiskAndLeavesTheLogAlone) {
    SpreadFolder folder;
    ASSERT_EQ(folder.run("-t T --map known.pdf"), 0) << folder.read("stderr.txt");
    const std::string log = folder.read("stdout.txt");
    ASSERT_EQ(folder.run("-t T --risk-horizon 10 --as-of 2010 --map-values risk --map risk.pdf"), 0)
        << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("stdout.txt"), log);
    const std::string text = pdfText(folder.dir / "risk.pdf");
    for (const char* words : {"of a first record of T", "reached by 2010"})
        EXPECT_NE(text.find(words), std::string::npos) << words << " in " << text;
    EXPECT_EQ(text.find("forecast"), std::string::npos) << "not the dates' map";
    EXPECT_EQ(pdfText(folder.dir / "known.pdf").find("first record"), std::string::npos);
}

TEST(BatchRisk, TooFewSpeciesToFitSayWhyAndLeaveTheColumnEmpty) {
    SpreadFolder folder(2);
    ASSERT_EQ(folder.run("-t T --risk-horizon 10 --predictions p.csv --summary s.json"), 0)
        << folder.read("stderr.txt");
    EXPECT_NE(folder.read("stderr.txt").find("No risk for T: "), std::string::npos) << folder.read("stderr.txt");
    const auto rows = csvRows(folder.read("p.csv"));
    for (std::size_t i = 1; i < rows.size(); ++i) EXPECT_EQ(rows[i].back(), "") << rows[i][0];
    const auto risk = nlohmann::json::parse(folder.read("s.json"))["risk"];
    EXPECT_TRUE(risk["coefficients"].is_null());
    EXPECT_NE(risk["reason"].get<std::string>().find("at least 3 are needed"), std::string::npos);
}

TEST(BatchRisk, HindcastGainsRiskFiguresAndTheRiskTableTheSameOnEveryThreadCount) {
    SpreadFolder folder;
    const std::string hindcast = "-t T --hindcast 2000,2015 --hindcast-targets all --hindcast-min-unreached 0 ";
    ASSERT_EQ(folder.run(hindcast + "--hindcast-table plain.csv"), 0) << folder.read("stderr.txt");
    const std::string log = folder.read("stdout.txt");
    ASSERT_EQ(folder.run(hindcast + "--risk-horizon 10 --threads 1 --hindcast-table h1.csv --risk-table r1.csv"), 0)
        << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("stdout.txt"), log);
    ASSERT_EQ(folder.run(hindcast + "--risk-horizon 10 --threads 3 --hindcast-table h3.csv --risk-table r3.csv"), 0);
    EXPECT_EQ(folder.read("h1.csv"), folder.read("h3.csv"));
    EXPECT_EQ(folder.read("r1.csv"), folder.read("r3.csv"));

    const auto plain = csvRows(folder.read("plain.csv")), table = csvRows(folder.read("h1.csv"));
    ASSERT_EQ(table.size(), plain.size());
    const std::vector<std::string> added{
        "risk_auc", "brier", "base_brier", "bss", "calibration_slope", "calibration_intercept"};
    ASSERT_EQ(table[0].size(), plain[0].size() + added.size());
    EXPECT_TRUE(std::equal(added.begin(), added.end(), table[0].begin() + static_cast<long>(plain[0].size())));
    for (std::size_t i = 0; i < table.size(); ++i)  // the hindcast's own figures are as they were
        EXPECT_TRUE(std::equal(plain[i].begin(), plain[i].end(), table[i].begin())) << i;

    const auto risks = csvRows(folder.read("r1.csv"));
    EXPECT_EQ(risks[0], (std::vector<std::string>{"year", "species", "region", "number", "risk", "outcome"}));
    bool scored2000 = false, open2015 = false;
    for (std::size_t i = 1; i < risks.size(); ++i) {
        if (risks[i][0] == "2000") scored2000 = scored2000 || risks[i][5] == "1";
        // The data end in 2020, before 2015 + 10: nothing to score the risk on.
        if (risks[i][0] != "2015") continue;
        open2015 = true;
        EXPECT_EQ(risks[i][5], "") << i;
    }
    EXPECT_TRUE(scored2000);
    EXPECT_TRUE(open2015);
}

TEST(BatchRisk, WatchListRanksEachRegionsSpeciesByRisk) {
    SpreadFolder folder;
    ASSERT_EQ(folder.run("--as-of 2010 --watch-list w.csv"), 0) << folder.read("stderr.txt");
    const auto rows = csvRows(folder.read("w.csv"));
    ASSERT_EQ(rows[0], (std::vector<std::string>{"region", "number", "rank", "species", "risk", "check_auc"}));
    ASSERT_GT(rows.size(), 36u);
    for (std::size_t i = 2; i < rows.size(); ++i)
        if (rows[i][0] == rows[i - 1][0]) {
            EXPECT_EQ(std::stoi(rows[i][2]), std::stoi(rows[i - 1][2]) + 1);
            EXPECT_LE(std::stod(rows[i][4]), std::stod(rows[i - 1][4]));
        }
}

TEST(BatchRisk, RefusalsNameTheOptionAndWriteNothing) {
    SpreadFolder folder;
    const std::vector<std::pair<std::string, std::string>> refused{
        {"-t T --risk-horizon 0", "option --risk-horizon takes a number of years above 0, not 0"},
        {"-t T --risk-horizon -5", "option --risk-horizon takes a number of years above 0, not -5"},
        {"-t T --risk-horizon ten", "option --risk-horizon"},
        {"-t T --risk-table r.csv", "option --risk-table needs --hindcast"},
        {"-t T --hindcast 2000 --risk-table r.txt", "option --risk-table"},
        {"--risk-horizon 10", "option --risk-horizon needs a target species"},
        {"-t T --as-of 2010", "option --as-of needs --risk-horizon"},
        {"-t T --risk-horizon 10 --as-of x", "option --as-of"},
        {"--watch-list spread.csv", "is the input FILE"},
        {"-t T --map-values risk --map m.svg", "option --map-values risk needs --risk-horizon H"},
        {"--risk-horizon 10 --watch-list w.csv --map-values risk --map m.svg",
         "option --map-values risk needs a target species (-t NAME)"}};
    for (const auto& [args, message] : refused) {
        EXPECT_EQ(folder.run(args + " --predictions p.csv"), 2) << args;
        EXPECT_NE(folder.read("stderr.txt").find(message), std::string::npos)
            << args << ": " << folder.read("stderr.txt");
    }
    EXPECT_FALSE(fs::exists(folder.dir / "p.csv"));
    EXPECT_FALSE(fs::exists(folder.dir / "r.csv"));
    EXPECT_FALSE(fs::exists(folder.dir / "m.svg"));
}

}  // namespace
}  // namespace el::test
