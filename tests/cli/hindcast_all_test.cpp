// The hindcast over several species from the command line: its table, its summary, its
// usage errors, and that it leaves the log alone.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

#include "tests/support/run_batch.hpp"
#include "tests/support/sample_folder.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

// A folder holding the bundled spread data set. Without a date left to score, the other
// species become eligible only when no unreached region is required.
struct SpreadFolder {
    SpreadFolder() { fs::copy_file(fs::path(EARLYLATE_SOURCE_DIR) / "data" / "spread.csv", dir / "spread.csv"); }
    int run(const std::string& args) { return runBatch(dir.path(), "--quiet --no-reliability " + args + " spread.csv"); }
    std::string read(const std::string& name) const { return readFile(dir / name); }
    TempDir dir;
};

const std::string kAll = "--hindcast 1990,2011 --hindcast-targets all --hindcast-min-unreached 0";

TEST(BatchHindcastAll, TableRowsInYearThenSpeciesOrderEqualTheSingleHindcasts) {
    SpreadFolder folder;
    ASSERT_EQ(folder.run(kAll + " --threads 1 --hindcast-table one.csv --summary s.json"), 0) << folder.read("stderr.txt");
    ASSERT_EQ(folder.run(kAll + " --threads 2 --hindcast-table two.csv"), 0) << folder.read("stderr.txt");
    const std::string table = folder.read("one.csv");
    EXPECT_EQ(table, folder.read("two.csv"));
    EXPECT_EQ(table.substr(0, table.find("\r\n")),
              "year,species,reached_later,not_reached,auc,spearman,mae,distance_auc,distance_spearman");
    std::vector<std::string> keys;
    for (std::size_t at = table.find("\r\n") + 2; at < table.size(); at = table.find("\r\n", at) + 2)
        keys.push_back(table.substr(at, table.find(',', table.find(',', at) + 1) - at));
    EXPECT_EQ(keys, (std::vector<std::string>{"1990,SpD", "1990,SpE", "1990,SpF", "2011,Invader"}));
    // 1990 leaves SpD no region unreached to compare with: no pair, so no AUC.
    EXPECT_NE(table.find("\r\n1990,SpD,10,0,,"), std::string::npos);

    const auto all = nlohmann::json::parse(folder.read("s.json"))["hindcast_all"];
    ASSERT_EQ(all["species"].size(), 4u);
    ASSERT_EQ(all["years"].size(), 2u);
    EXPECT_EQ(all["years"][0]["species"], 3);
    for (const auto& row : all["species"]) {
        const std::string species = row["species"], year = std::to_string(row["year"].get<int>());
        ASSERT_EQ(folder.run("-t " + species + " --hindcast " + year + " --summary single.json"), 0) << species;
        const auto single = nlohmann::json::parse(folder.read("single.json"))["hindcast"][0];
        for (const char* key : {"reached_later", "not_reached", "auc", "spearman", "mae", "distance_auc", "distance_spearman"})
            EXPECT_EQ(row[key], single[key]) << species << " " << year << " " << key;
    }
}

TEST(BatchHindcastAll, LeavesTheLogAsItWas) {
    SpreadFolder folder;
    ASSERT_EQ(folder.run("-t Invader --hindcast 2011"), 0);
    const std::string log = folder.read("stdout.txt");
    ASSERT_EQ(folder.run("-t Invader --hindcast 2011 --hindcast-targets Invader,SpA --hindcast-table t.csv --summary s.json"), 0)
        << folder.read("stderr.txt");
    EXPECT_EQ(folder.read("stdout.txt"), log);
    const auto summary = nlohmann::json::parse(folder.read("s.json"));
    EXPECT_EQ(summary["skill"]["no_skill"], false);
    EXPECT_EQ(summary["hindcast_all"]["species"].size(), 1u);  // SpA has no date after 2011
}

TEST(BatchHindcastAll, UsageErrorsNameWhatIsWrongAndWriteNothing) {
    SpreadFolder folder;
    EXPECT_EQ(folder.run("--hindcast 2011 --hindcast-targets SpA,Spb --hindcast-table t.csv"), 2);
    EXPECT_NE(folder.read("stderr.txt").find("\"Spb\" is not among the species analysed"), std::string::npos);
    for (const char* args : {"--hindcast-targets all --hindcast-table t.csv", "--hindcast 2011 --hindcast-table t.txt",
                             "--hindcast 2011 --hindcast-targets all --hindcast-min-after -1 --hindcast-table t.csv",
                             "--hindcast 2011 --hindcast-targets '' --hindcast-table t.csv"}) {
        EXPECT_EQ(folder.run(args), 2) << args;
        EXPECT_NE(folder.read("stderr.txt").find("earlylate-batch: option --hindcast"), std::string::npos) << args;
    }
    EXPECT_FALSE(fs::exists(folder.dir / "t.csv"));
}

}  // namespace
}  // namespace el::test
