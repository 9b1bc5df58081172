// --predictions, --summary and --hindcast: the tables read back with strict readers and hold
// the numbers of the log; the log itself is unchanged by them (a hindcast only adds its
// block after the report); usage errors write nothing.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "base/numtext.hpp"
#include "tests/support/run_batch.hpp"
#include "tests/support/sample_folder.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> fieldsOf(const std::string& line, const std::string& separator) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t at; (at = line.find(separator, from)) != std::string::npos; from = at + separator.size())
        fields.push_back(line.substr(from, at - from));
    fields.push_back(line.substr(from));
    return fields;
}

// The target's table in the log: region -> its fields.
std::vector<std::vector<std::string>> targetTable(const std::string& log) {
    const auto lines = linesOf(log);
    std::vector<std::vector<std::string>> rows;
    bool inTable = false;
    for (const std::string& line : lines) {
        if (line.rfind("Region, Training data, Estimated", 0) == 0) inTable = true;
        else if (inTable && line.empty()) break;
        else if (inTable) rows.push_back(fieldsOf(line, ", "));
    }
    return rows;
}

// Reads the CSV with Python's csv module in strict mode; prints the row count, then per row
// the region, its predicted date of Invader and its date_sd, joined by "|".
const char* kReadBack = R"(python3 -c '
import csv, sys
with open(sys.argv[1], newline="", encoding="utf-8") as f:
    rows = list(csv.reader(f, strict=True))
header = rows[0]
print(len(rows) - 1)
for row in rows[1:]:
    assert len(row) == len(header), row
    print(row[0] + "|" + row[header.index("Predicted_Invader")] + "|" + row[header.index("date_sd")])
' predictions.csv)";

TEST(BatchTables, PredictionsReadBackStrictlyWithTheLogsDatesAndTheLogIsUnchanged) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader --iterations 30"), 0);
    const std::string plainLog = folder.read("stdout.txt");
    ASSERT_EQ(folder.run("-t Invader --iterations 30 --predictions predictions.csv --summary summary.json"), 0)
        << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("stdout.txt"), plainLog);

    const auto readBack = linesOf(folder.shell(kReadBack));
    const auto logRows = targetTable(plainLog);
    ASSERT_EQ(logRows.size(), 12u);
    ASSERT_EQ(readBack.size(), 13u);
    EXPECT_EQ(readBack[0], "12");
    for (std::size_t i = 0; i < logRows.size(); ++i) {
        const auto fields = fieldsOf(readBack[i + 1], "|");
        ASSERT_EQ(fields.size(), 3u);
        EXPECT_EQ(fields[0], logRows[i][0]);
        EXPECT_EQ(parseNumber(fields[1]), parseNumber(logRows[i][2])) << logRows[i][0];
        EXPECT_EQ(parseNumber(fields[2]), parseNumber(logRows[i][4])) << logRows[i][0];
    }

    const auto summary = nlohmann::json::parse(folder.read("summary.json"));
    const std::string digest = folder.shell("sha256sum sample.csv").substr(0, 64);
    EXPECT_EQ(summary["input"]["sha256"], digest);
    EXPECT_EQ(summary["settings"]["iterationn"], "30");
    EXPECT_EQ(summary["counts"]["regions"], 12);
    EXPECT_EQ(summary["species"][4]["name"], "Invader");
    EXPECT_EQ(strnum(summary["species"][4]["r_training"].get<double>()), " .94917726094642");
    EXPECT_FALSE(summary.contains("hindcast"));

    // A write-back rewrites the input during the run: the summary names the bytes analysed.
    ASSERT_EQ(folder.run("-t Invader --no-reliability --add-prediction --summary written.json"), 0)
        << folder.read("stderr.txt");
    EXPECT_EQ(nlohmann::json::parse(folder.read("written.json"))["input"]["sha256"], digest);
    EXPECT_NE(folder.shell("sha256sum sample.csv").substr(0, 64), digest);
}

TEST(BatchTables, HindcastOnlyAddsItsBlockAfterTheReportAndTheSummaryAgrees) {
    SampleFolder folder;
    ASSERT_EQ(folder.run("-t Invader --no-reliability"), 0);
    const std::string plainLog = folder.read("stdout.txt");
    ASSERT_EQ(folder.run("-t Invader --no-reliability --hindcast 1999,2002 --summary s.json"), 0) << folder.read("stderr.txt");
    const std::string log = folder.read("stdout.txt");
    ASSERT_EQ(log.substr(0, plainLog.size()), plainLog);
    const auto added = linesOf(log.substr(plainLog.size()));
    ASSERT_EQ(added.size(), 5u);
    EXPECT_EQ(added[0], "");
    EXPECT_EQ(added[2], "Year,Reached later,Not reached,AUC,Spearman,MAE,Distance AUC,Distance Spearman");

    const auto summary = nlohmann::json::parse(folder.read("s.json"));
    ASSERT_EQ(summary["hindcast"].size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        const auto fields = fieldsOf(added[3 + i], ",");
        const auto& entry = summary["hindcast"][i];
        ASSERT_EQ(fields.size(), 8u);
        const char* keys[] = {"year", "reached_later", "not_reached", "auc", "spearman", "mae", "distance_auc",
                              "distance_spearman"};
        for (std::size_t k = 0; k < 8; ++k) {
            if (fields[k] == "null") EXPECT_TRUE(entry[keys[k]].is_null()) << keys[k];
            else EXPECT_EQ(fields[k], strnum(entry[keys[k]].get<double>())) << keys[k];
        }
    }
    // In 1999 the sample's Invader had reached Gunma, Miyagi and Ibaraki; six more regions
    // record it later and two not at all (Tochigi's "Arrived" is not scored).
    EXPECT_EQ(summary["hindcast"][0]["reached_later"], 6);
    EXPECT_EQ(summary["hindcast"][0]["not_reached"], 2);
}

TEST(BatchTables, TheReadmesWorkedHindcastIsTheGoldenLogs) {
    const std::string readme = readFile(fs::path(EARLYLATE_SOURCE_DIR) / "README.md");
    const auto golden = linesOf(readFile(fs::path(EARLYLATE_SOURCE_DIR) / "tests" / "golden" / "spread.hindcast.log"));
    ASSERT_GE(golden.size(), 7u);
    for (std::size_t i = golden.size() - 6; i < golden.size(); ++i) {
        std::string line = golden[i];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        EXPECT_NE(readme.find("    " + line + "\n"), std::string::npos) << line;
    }
}

TEST(BatchTables, UsageErrorsWriteNothing) {
    SampleFolder folder;
    EXPECT_EQ(folder.run("-t Invader --predictions ./sample.csv"), 2);  // never over the input
    EXPECT_EQ(readFile(folder.dir / "sample.csv"), readFile(fs::path(EARLYLATE_SOURCE_DIR) / "data" / "sample.csv"));
    for (const char* args : {"--hindcast 2000", "-t Invader --hindcast 20x0", "-t Invader --hindcast ''",
                             "-t Invader -s SpA,SpB --hindcast 2000", "--summary s.txt", "--predictions p.txt"}) {
        EXPECT_EQ(folder.run(std::string(args) + " --predictions p.csv"), 2) << args;
        EXPECT_FALSE(fs::exists(folder.dir / "p.csv")) << args;
        EXPECT_NE(folder.read("stderr.txt").find("earlylate-batch: "), std::string::npos) << args;
    }
    // A run that stops writes no table either.
    EXPECT_EQ(folder.run("-t Invader --weight-power six --predictions p.csv --summary s.json --hindcast 2000"), 1);
    EXPECT_EQ(filesIn(folder.dir.path()),
              (std::vector<std::string>{"sample.csv", "stderr.txt", "stdout.txt"}));
}

}  // namespace
}  // namespace el::test
