#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

const std::string kSound =
    "\xEF\xBB\xBFvector,c,,\r\nsp1,sp2,type$,name$,n,x1,y1,,\r\n1,,point,A,1,0,0,,,,\r\n2,3,point,B,1,5,5,\r\n\r\n";

TEST(ReadVectorFile, SuccessWritesNothingAndShowsCompletion) {
    VectorFixture f;
    writeFile(f.sideLog(), "the trace of an earlier failed scan");
    const vec::ReadOutcome r = f.read(kSound);
    ASSERT_EQ(r.erf, 0);
    EXPECT_TRUE(r.data.consistent());
    EXPECT_EQ(r.data.objects[1].name, "B");
    EXPECT_TRUE(r.data.encoding.bom);
    EXPECT_EQ(f.host.captionsOf(Label::ReadProgress),
              (std::vector<std::string>{" 0 %", " 50 %", " 100 %", "100 % complete"}));
    EXPECT_EQ(filesIn(f.dir.path()), std::vector<std::string>{});  // a sound scan leaves no side log

    // From a file: the same, and a file that cannot be read is named.
    writeFile(f.dir / "src.csv", kSound);
    EXPECT_EQ(vec::readVectorFile(f.dir / "src.csv", "null", f.host, {}).data.objects[0].values[1], "null");
    EXPECT_EQ(vec::readVectorFile(f.dir / "absent.csv", "null", f.host, {}).erf, 1);
    EXPECT_EQ(f.host.messages, std::vector<std::string>{"Cannot open file: " + (f.dir / "absent.csv").string()});

    // A failed scan's side log goes to the folder the caller names, and nowhere without one.
    std::filesystem::create_directory(f.dir / "side");
    writeFile(f.dir / "bad.csv", "vector,c\r\nsp1,type$,name$,n,x1,y1\r\n1,Point,A,1,0,0\r\n");
    EXPECT_EQ(vec::readVectorFile(f.dir / "bad.csv", "null", f.host, {}).erf, 1);
    EXPECT_EQ(filesIn(f.dir.path()), (std::vector<std::string>{"bad.csv", "side", "src.csv"}));
    EXPECT_EQ(vec::readVectorFile(f.dir / "bad.csv", "null", f.host, f.dir / "side").erf, 1);
    EXPECT_EQ(filesIn(f.dir / "side"), std::vector<std::string>{"VectorFileSize.log"});
}

TEST(ReadVectorFile, FailuresLoadNothingAndOnlyAFailedScanLeavesItsTrace) {
    VectorFixture f;
    vec::ReadOutcome r = f.read("vector,c\r\nsp1,type$,name$,n,x1,y1\r\n1,Point,A,1,0,0\r\n");
    EXPECT_EQ(r.erf, 1);
    EXPECT_FALSE(r.data.consistent());
    EXPECT_TRUE(f.sideLogText().starts_with("Filename: temp1.tmp\r\n"));  // the normalised copy, as always
    EXPECT_EQ(f.host.shown(Label::ReadProgress), " 0 %");

    // The scan accepts a point whose count says 3; the reader then finds data left over.
    r = f.read("vector,c\r\nsp1,type$,name$,n,x1,y1,x2,y2,x3,y3\r\n1,point,P,3,0,0,1,1,2,2\r\n");
    EXPECT_EQ(r.erf, 1);
    EXPECT_EQ(f.host.messages.back(), "The vector file holds more data than the scanned sizes");
    EXPECT_FALSE(r.data.consistent());
    EXPECT_EQ(f.sideLogText(), "");

    // Without a side log file the scan's trace goes nowhere.
    RecordingHost host;
    r = vec::readVectorBytes("Vector,c\r\n", "x.csv", "null", host, "auto", "");
    EXPECT_EQ(r.erf, 1);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Invalid file type"});
    EXPECT_EQ(filesIn(f.dir.path()), std::vector<std::string>{});
}

// Stops the Read at its `stopAt`th yield.
class StoppingHost : public RecordingHost {
public:
    void checkpoint() override {
        RecordingHost::checkpoint();
        if (yields == stopAt) throw Cancelled{};
    }
    long stopAt = 0;
};

TEST(ReadVectorFile, AStoppedScanLeavesNoTrace) {
    VectorFixture f;
    writeFile(f.sideLog(), "the trace of an earlier failed scan");
    StoppingHost host;
    host.stopAt = 2;
    const std::string bytes = "vector,c\r\nsp1,type$,name$,n,x,y\r\n1,point,A,1,0,0\r\n2,point,B,1,0,0\r\n3,dot,C\r\n";
    EXPECT_THROW(vec::readVectorBytes(bytes, "in.csv", "null", host, "auto", f.sideLog()), Cancelled);
    EXPECT_EQ(host.yields, 2);
    EXPECT_EQ(filesIn(f.dir.path()), std::vector<std::string>{});
}

// How fast the step reads is measured by the benchmarks; this checks what large files give.
TEST(ReadVectorFile, LargeFilesReadInFull) {
    VectorFixture f;
    std::string file = "vector,big\r\nsp1,type$,name$,n";
    for (int k = 0; k < 40; ++k) file += ",x,y";
    file += "\r\n";
    for (int i = 0; i < 300; ++i) {
        file += "1990,polygon,R" + std::to_string(i) + ",40";
        for (int k = 0; k < 40; ++k) file += "," + std::to_string(i + k) + ".25," + std::to_string(k);
        file += "\r\n";
    }
    vec::ReadOutcome r = f.read(file);
    ASSERT_EQ(r.data.objn(), 300);
    EXPECT_EQ(r.data.objects[299].parts[0].x[39], 338.25);

    // Many objects with the checks on: a yield per object and pass, and a caption only
    // when its text changes.
    file = "vector,many\r\nsp1,type$,name$,n,x,y\r\n";
    for (int i = 0; i < 20000; ++i) file += "1,point,P" + std::to_string(i) + ",1,0,0\r\n";
    RecordingHost host;
    host.values.set(Setting::SkipFormatCheck, "0");
    r = vec::readVectorBytes(file, "many.csv", "null", host, "auto", f.sideLog());
    EXPECT_EQ(r.data.objn(), 20000);
    EXPECT_GE(host.yields, 3 * 20000);
    EXPECT_LE(host.captionsOf(Label::ReadProgress).size(), 2u + 2 * 101u);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace el::test
