// The batch runner reading a GIS file directly: the run sees the same regions and values
// as from the vector file it came from, and the GIS file is never written.

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/run_batch.hpp"
#include "tests/support/sample_file.hpp"
#include "tests/support/temp_dir.hpp"

namespace {

namespace fs = std::filesystem;
using el::test::copySample;
using el::test::readFile;
using el::test::shellQuote;
using el::test::TempDir;

const fs::path kConvert = fs::path(EARLYLATE_BIN_DIR) / "earlylate-convert";

// The log without its "File name:" line, which names the file that was read.
std::string withoutFileName(const std::string& log) {
    const auto start = log.find("File name: ");
    if (start == std::string::npos) return log;
    return log.substr(0, start) + log.substr(log.find('\n', start) + 1);
}

class GisSource : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kConvert)) GTEST_SKIP() << "built without GIS support";
        copySample(dir.path());
        const std::string convert = "cd " + shellQuote(dir.path().string()) + " && " +
                                    shellQuote(kConvert.string()) + " sample.csv sample.gpkg >/dev/null 2>&1";
        ASSERT_EQ(std::system(convert.c_str()), 0);
    }
    TempDir dir;
};

TEST_F(GisSource, SameLogAsOnTheVectorFileAndTheGeoPackageIsNeverWritten) {
    const std::string before = readFile(dir / "sample.gpkg");
    ASSERT_EQ(el::test::runBatch(dir.path(), "-t Invader --no-reliability -o csv.log sample.csv"), 0);
    ASSERT_EQ(el::test::runBatch(dir.path(), "-t Invader --no-reliability -o gpkg.log sample.gpkg"), 0)
        << readFile(dir / "stderr.txt");
    EXPECT_NE(readFile(dir / "gpkg.log").find("File name: sample.gpkg\r\n"), std::string::npos);
    EXPECT_EQ(withoutFileName(readFile(dir / "gpkg.log")), withoutFileName(readFile(dir / "csv.log")));

    EXPECT_EQ(el::test::runBatch(dir.path(), "-t Invader --no-reliability --add-prediction sample.gpkg"), 1);
    EXPECT_NE(readFile(dir / "stderr.txt").find("cannot be added to sample.gpkg"), std::string::npos);
    EXPECT_EQ(readFile(dir / "sample.gpkg"), before);
    EXPECT_EQ(el::test::filesIn(dir.path()), (std::vector<std::string>{"csv.log", "gpkg.log",
                                                                        "sample.csv", "sample.gpkg", "stderr.txt",
                                                                        "stdout.txt"}));
}

}  // namespace
