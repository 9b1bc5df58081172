#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

TEST(ReadVectorFile, SuccessLeavesNoScratchFilesAndShowsCompletion) {
    VectorFixture f;
    f.file("\xEF\xBB\xBFvector,c,,\r\nsp1,sp2,type$,name$,n,x1,y1,,\r\n1,,point,A,1,0,0,,,,\r\n2,3,point,B,1,5,5,\r\n\r\n",
           "src.csv");
    const ReadOutcome r = readVectorFile("src.csv", "null", f.host);
    ASSERT_EQ(r.erf, 0);
    EXPECT_TRUE(r.data.consistent());
    EXPECT_EQ(r.data.objects[1].name, "B");
    EXPECT_EQ(f.host.captionsOf(Label::ReadProgress),
              (std::vector<std::string>{" 0 %", " 50 %", " 100 %", "100 % complete"}));
    for (const char* scratch : {"temp1.tmp", "temp4.tmp", "VectorFileSize.log"}) EXPECT_FALSE(f.exists(scratch));
}

TEST(ReadVectorFile, FailuresRemoveTheScratchCopyAndLoadNothing) {
    VectorFixture f;
    f.file("vector,c\r\nsp1,type$,name$,n,x1,y1\r\n1,Point,A,1,0,0\r\n", "bad.csv");
    ReadOutcome r = readVectorFile("bad.csv", "null", f.host);
    EXPECT_EQ(r.erf, 1);
    EXPECT_FALSE(r.data.consistent());
    EXPECT_FALSE(f.exists("temp1.tmp"));
    EXPECT_TRUE(readFile(f.dir / "VectorFileSize.log").starts_with("Filename: temp1.tmp\r\n"));
    EXPECT_EQ(f.host.shown(Label::ReadProgress), " 0 %");

    // The scan accepts a point whose count says 3; the reader then finds data left over.
    f.file("vector,c\r\nsp1,type$,name$,n,x1,y1,x2,y2,x3,y3\r\n1,point,P,3,0,0,1,1,2,2\r\n", "point.csv");
    r = readVectorFile("point.csv", "null", f.host);
    EXPECT_EQ(r.erf, 1);
    EXPECT_EQ(f.host.messages.back(), "The vector file holds more data than the scanned sizes");
    EXPECT_FALSE(r.data.consistent());
    EXPECT_FALSE(f.exists("temp1.tmp"));
    EXPECT_FALSE(f.exists("VectorFileSize.log"));
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
    f.file(file, "big.csv");
    ReadOutcome r = readVectorFile("big.csv", "null", f.host);
    ASSERT_EQ(r.data.objn(), 300);
    EXPECT_EQ(r.data.objects[299].parts[0].x[39], 338.25);

    // Many objects with the checks on: a yield per object and pass, and a caption only
    // when its text changes.
    file = "vector,many\r\nsp1,type$,name$,n,x,y\r\n";
    for (int i = 0; i < 20000; ++i) file += "1,point,P" + std::to_string(i) + ",1,0,0\r\n";
    f.file(file, "many.csv");
    RecordingHost host;
    host.values.set(Setting::SkipFormatCheck, "0");
    r = readVectorFile("many.csv", "null", host);
    EXPECT_EQ(r.data.objn(), 20000);
    EXPECT_GE(host.yields, 3 * 20000);
    EXPECT_LE(host.captionsOf(Label::ReadProgress).size(), 2u + 2 * 101u);
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace el::test
