// Hostile and broken vector files through the batch runner: each is refused with a clear
// message and exit status 1, nothing crashes or hangs, and no file is changed.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/support/run_batch.hpp"
#include "tests/support/temp_dir.hpp"

namespace el::test {
namespace {

namespace fs = std::filesystem;

const fs::path kHostile = fs::path(EARLYLATE_SOURCE_DIR) / "tests" / "data" / "hostile";
const char* const kRunArgs = "--no-reliability --add-prediction --format-check ";

using Snapshot = std::map<std::string, std::string>;

Snapshot snapshot(const fs::path& dir) {
    Snapshot files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file()) files[entry.path().filename().string()] = readFile(entry.path());
    return files;
}

// Runs the batch runner on `file` (already in `dir`) and checks the refusal; the run may leave
// only its own output, the lock file and the scan's side log.
void expectRefused(const TempDir& dir, const std::string& file, const std::string& message,
                   const std::string& extraArgs = "") {
    SCOPED_TRACE(file);
    Snapshot before = snapshot(dir.path());
    EXPECT_EQ(runBatch(dir.path(), kRunArgs + extraArgs + shellQuote(file)), 1);
    const std::string errors = readFile(dir / "stderr.txt");
    EXPECT_NE(errors.find("earlylate: " + message + "\n"), std::string::npos) << errors.substr(0, 2000);
    Snapshot after = snapshot(dir.path());
    for (const char* name : {"stdout.txt", "stderr.txt", "VectorFileSize.log"})
        before.erase(name), after.erase(name);
    EXPECT_TRUE(before == after) << "a file changed or appeared";
}

struct BrokenFile {
    const char* file;
    const char* message;
};

class BrokenFiles : public ::testing::TestWithParam<BrokenFile> {};

TEST_P(BrokenFiles, AreRefusedWithTheirMessage) {
    TempDir dir;
    fs::copy_file(kHostile / GetParam().file, dir / GetParam().file);
    expectRefused(dir, GetParam().file, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    HostileFiles, BrokenFiles,
    ::testing::Values(
        BrokenFile{"empty.csv", "Invalid file type"}, BrokenFile{"type_only.csv", "Require at least one variable"},
        BrokenFile{"header_only.csv", "There is no region to analyse"},
        BrokenFile{"truncated_record.csv", "The file ends inside the  3th data of vector file (count)"},
        BrokenFile{"truncated_coordinates.csv", "The file ends inside the  3th data of vector file (y coordinate)"},
        BrokenFile{"truncated_number.csv", "Bad coordinate in the  3th data of vector file: 1.5e"},
        BrokenFile{"unbalanced_quote.csv", "The file ends inside the  3th data of vector file (type)"},
        BrokenFile{"negative_count.csv", "Bad count in the  3th data of vector file: -3"},
        BrokenFile{"absurd_count.csv", "Bad count in the  3th data of vector file: 2147483647"},
        BrokenFile{"absurd_parts.csv", "Bad count in the  1th data of vector file: 2147483647"},
        BrokenFile{"count_beyond_file.csv", "Bad count in the  3th data of vector file: 40000"},
        BrokenFile{"nul_bytes.csv", "nul_bytes.csv: The file holds a NUL byte in line 3, so it is not a text file"},
        BrokenFile{"not_text.csv",
                   "not_text.csv: The file is neither UTF-8 nor CP932 text (line 3); name its encoding"},
        BrokenFile{"bom_not_utf8.csv", "bom_not_utf8.csv: The file is not UTF-8 text (line 3)"},
        BrokenFile{"bad_status_value.csv",
                   "Region C, species sp2: the value \"arrived\" is neither a keyword nor a number"}),
    [](const auto& instance) { return testNameOf(instance.param.file); });

TEST(HostileFiles, MegabyteFieldsAreCutInMessages) {
    TempDir dir;
    const std::string header = "vector,big\r\nsp1,type$,name$,n,x,y\r\n";
    const std::string huge(1 << 20, '7');
    writeFile(dir / "count.csv", header + "1990,point,A," + huge + ",0,0\r\n");
    expectRefused(dir, "count.csv", "Bad count in the  1th data of vector file: " + huge.substr(0, 80) + "...");
    writeFile(dir / "type.csv", header + "1990," + huge + ",A,1,0,0\r\n");
    expectRefused(dir, "type.csv", "Bad in the  1th data of vector file. Type:" + huge.substr(0, 80) + "...");
    EXPECT_LT(fs::file_size(dir / "stderr.txt"), 1000u);
}

// 100,000 objects of one name: every repetition is reported, and the hashed check keeps
// this a matter of seconds (a quadratic one would compare 5e9 pairs).
TEST(HostileFiles, AHundredThousandDuplicateNames) {
    TempDir dir;
    std::string file = "vector,dups\r\nsp1,type$,name$,n,x,y\r\n";
    for (int i = 0; i < 99999; ++i) file += std::to_string(1990 + i % 7) + ",point,Same,1," + std::to_string(i) + ",0\r\n";
    file += "arrived,point,Same,1,0,0\r\n";
    writeFile(dir / "dups.csv", file);
    expectRefused(dir, "dups.csv", "Region Same, species sp1: the value \"arrived\" is neither a keyword nor a number");
    const std::string errors = readFile(dir / "stderr.txt");
    EXPECT_NE(errors.find("earlylate:  100000th point Same object name is duplicated\n"), std::string::npos);
    EXPECT_NE(errors.find("earlylate: warning: 1 region name is used more than once: \"Same\" (100000 regions);"),
              std::string::npos);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 100001);
}

// Names that look like paths are only texts: the tool never builds a path from them.
TEST(HostileFiles, PathLikeNamesNeverBecomePaths) {
    TempDir dir;
    fs::create_directories(dir / "sub");
    const std::string file = "vector,../x\r\n../x,a/b,C:\\y,type$,name$,n,x,y\r\n"
                             "1990,2000,1995,point,../x,1,0,0\r\n"
                             "1991,2001,1996,point,a/b,1,1,0\r\n"
                             "1992,2002,1997,point,C:\\y,1,0,1\r\n";
    writeFile(dir / "sub" / "names.csv", file);
    expectRefused(dir, "sub/names.csv", "The target species name \"../x\" cannot be used in the weight-test file name",
                  "--examine-weight -t ../x ");
    EXPECT_EQ(readFile(dir / "sub" / "names.csv"), file);

    // The write-back changes the source and nothing else.
    EXPECT_EQ(runBatch(dir.path(), std::string(kRunArgs) + "sub/names.csv"), 0) << readFile(dir / "stderr.txt");
    EXPECT_NE(readFile(dir / "sub" / "names.csv").find("Predicted_../x"), std::string::npos);
    std::vector<std::string> everything;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        everything.push_back(fs::relative(entry.path(), dir.path()).string());
    std::sort(everything.begin(), everything.end());
    EXPECT_EQ(everything, (std::vector<std::string>{"stderr.txt", "stdout.txt", "sub",
                                                    "sub/names.csv"}));
}

TEST(HostileFiles, EncodingIsDetectedOrNamed) {
    TempDir dir;
    // sp1 holds 分布 (arrived) in CP932; the comment 日本.
    const std::string cp932 = "vector,\x93\xfa\x96\x7b\r\nsp1,sp2,type$,name$,n,x,y\r\n"
                              "\x95\xaa\x95\x7a,1990,point,A,1,0,0\r\n1995,1991,point,B,1,1,0\r\n";
    writeFile(dir / "sj.csv", cp932);
    EXPECT_EQ(runBatch(dir.path(), "--no-reliability sj.csv"), 0) << readFile(dir / "stderr.txt");
    const std::string automatic = readFile(dir / "stdout.txt");
    EXPECT_EQ(runBatch(dir.path(), "--no-reliability --encoding CP932 sj.csv"), 0);
    EXPECT_EQ(readFile(dir / "stdout.txt"), automatic);
    // Read as UTF-8 it is refused; an unknown name is a usage error.
    expectRefused(dir, "sj.csv", "sj.csv: The file is not UTF-8 text (line 1)", "--encoding UTF-8 ");
    EXPECT_EQ(runBatch(dir.path(), "--encoding NO-SUCH-CODE sj.csv"), 2);
    EXPECT_EQ(readFile(dir / "sj.csv"), cp932);
}

}  // namespace
}  // namespace el::test
