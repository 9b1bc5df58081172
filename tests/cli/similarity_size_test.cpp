// The batch runner refuses a similarity output of more than a gigabyte before the run
// starts, with the size and the way on; --force goes on.

#include <gtest/gtest.h>

#include <string>

#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

// 7,000 species on three regions: two 7,000 x 7,000 matrices pass the limit, the table is
// small and quick to read.
struct ManySpecies {
    ManySpecies() {
        std::string table = "region,species,date\n";
        for (int s = 0; s < 7000; ++s) table += "R" + std::to_string(s % 3) + ",S" + std::to_string(s) + ",1990\n";
        writeFile(dir / "many.csv", table);
    }
    int run(const std::string& args) {
        return runBatch(dir.path(), "--quiet --no-reliability " + args + " --records many.csv");
    }
    std::string err() const { return readFile(dir / "stderr.txt"); }
    TempDir dir;
};

TEST(BatchSimilaritySize, RefusedBeforeTheRunWithTheEstimateUnlessForced) {
    ManySpecies many;
    ASSERT_EQ(many.run("--similarity-output similarity -o run.log"), 2);
    EXPECT_NE(many.err().find("earlylate-batch: option --similarity-output: the similarity output of 7000 species is "
                              "two 7000 x 7000 matrices: up to 1.1 GB of log; give --force to write it anyway"),
              std::string::npos)
        << many.err();
    EXPECT_FALSE(std::filesystem::exists(many.dir / "run.log"));
    EXPECT_EQ(many.run("--similarity-output distance"), 2);
    EXPECT_EQ(readFile(many.dir / "stdout.txt"), "");

    // Past the size check, the next one refuses: a hindcast target that is not a species.
    const std::string next = " --hindcast 2000 --hindcast-targets Nobody";
    EXPECT_EQ(many.run("--similarity-output similarity --force" + next), 2);
    EXPECT_NE(many.err().find("option --hindcast-targets"), std::string::npos) << many.err();
    EXPECT_EQ(many.err().find("--similarity-output"), std::string::npos) << many.err();
    // An examine-weight run writes no matrix, and a run without the output none.
    EXPECT_EQ(many.run("--similarity-output similarity --examine-weight" + next), 2);
    EXPECT_NE(many.err().find("option --hindcast-targets"), std::string::npos) << many.err();
    EXPECT_EQ(many.run("-s S1,S2,S3 --similarity-output similarity" + next), 2);
    EXPECT_NE(many.err().find("option --hindcast-targets"), std::string::npos) << many.err();
}

}  // namespace
}  // namespace el::test
