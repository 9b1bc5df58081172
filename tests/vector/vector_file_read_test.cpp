#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

// A header with two species and room for `pairs` coordinate pairs.
std::string header(int pairs) {
    std::string names = "vector,c\r\nsp1,sp2,type$,name$,n";
    for (int k = 1; k <= pairs; ++k) names += ",x" + std::to_string(k) + ",y" + std::to_string(k);
    return names + "\r\n";
}
const std::string kHeader = header(5);

std::string polygon(const std::string& name, const std::string& nodes, int count) {
    return "1,2,polygon," + name + "," + std::to_string(count) + "," + nodes + "\r\n";
}

// Scans and reads `bytes` with the checks on.
int scanAndRead(VectorFixture& f, const std::string& bytes, VectorData& data) {
    f.host.values.set(Setting::SkipFormatCheck, "0");
    f.file(bytes);
    if (VectorFileSize("in.csv", data.sizes, f.host) != 0) return -1;
    return VectorFileRead("in.csv", data, "null", f.host);
}

TEST(VectorFileRead, FillsTheDataSet) {
    VectorFixture f;
    VectorData data;
    const std::string file = "vector,\"a, comment\",extra,fields\r\nSp1,Sp2,TYPE$,Name$,n,x1,y1,x2,y2,x3,y3,x4,y4,x5,y5\r\n"
                             "1998,,line,L,2,1.5,-2,3e2,4\r\n"
                             "Arrived, 2000,point,P,1,7,8\r\n"
                             "x,y,tree,T,2,trunk,1,0,0,branch,2,1,1,2,2\r\n";
    ASSERT_EQ(scanAndRead(f, file, data), 0);
    EXPECT_TRUE(data.consistent());
    EXPECT_EQ(data.filetype, "vector");
    EXPECT_EQ(data.comment, "a, comment");
    EXPECT_EQ(data.valname.front(), "Sp1");
    EXPECT_EQ(data.valname[2], "TYPE$");
    ASSERT_EQ(data.objects.size(), 3u);

    const VectorObject& line = data.objects[0];
    EXPECT_EQ(line.values, (std::vector<std::string>{"1998", "null"}));
    ASSERT_EQ(line.noden(), 1);
    EXPECT_EQ(line.parts[0].mergin, "root");
    EXPECT_EQ(line.parts[0].x, (std::vector<double>{1.5, 300}));
    EXPECT_EQ(line.parts[0].y, (std::vector<double>{-2, 4}));

    const VectorObject& point = data.objects[1];
    EXPECT_EQ(point.values[1], "2000");
    EXPECT_EQ(point.parts[0].mergin, "");
    EXPECT_EQ(point.parts[0].x, std::vector<double>{7});

    const VectorObject& tree = data.objects[2];
    ASSERT_EQ(tree.noden(), 2);
    EXPECT_EQ(tree.parts[1].mergin, "branch");
    EXPECT_EQ(tree.parts[1].y, (std::vector<double>{1, 2}));
    EXPECT_TRUE(f.host.messages.empty());
}

TEST(VectorFileRead, ChecksWarnAboutNamesAndCrossingBoundaries) {
    VectorFixture f;
    VectorData data;
    const std::string square = "0,0,2,0,2,2,0,2";
    const std::string file = header(9) + polygon("A", "0,0,1,0,0,1", 3)  // triangle: never reported
                             + polygon("B", "0,0,2,2,2,0,0,2", 4)      // bow tie: reported once
                             + "1,2,tree,T,1,r,4,0,0,2,2,2,0,0,2\r\n"  // a tree is not checked
                             + polygon("A", square, 4)                 // 4th: the 1st's name
                             + "1,2,area,K,2,out,4," + square + ",isle,3,2,2,1,1,1.5,.5\r\n"  // island on the ring
                             + "1,2,line,Z,4,0,0,2,2,2,0,0,2\r\n"
                             + polygon("A", square, 4);  // 7th
    ASSERT_EQ(scanAndRead(f, file, data), 0);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"polygon B inter-nodes are crossing",
                                                         " 4th polygon A object name is duplicated",
                                                         "area K inter-nodes are crossing",
                                                         " 7th polygon A object name is duplicated"}));
}

TEST(VectorFileRead, DuplicatesAtTwoFourAndSevenGiveTwoMessages) {
    VectorFixture f;
    VectorData data;
    std::string file = header(1);
    const char* names[] = {"a", "D", "b", "D", "c", "d", "D"};
    for (const char* name : names) file += "1,2,point," + std::string(name) + ",1,0,0\r\n";
    ASSERT_EQ(scanAndRead(f, file, data), 0);
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{" 4th point D object name is duplicated",
                                                         " 7th point D object name is duplicated"}));
}

class SwitchingHost : public RecordingHost {
public:
    void yield() override {
        RecordingHost::yield();
        if (caption(Label::ReadProgress).starts_with("Checking")) values.set(Setting::SkipFormatCheck, "1");
    }
};

TEST(VectorFileRead, ProgressTextsAndTheSkipSwitch) {
    TempDir dir;
    ScopedCwd cwd(dir.path());
    const std::string file = header(4) + polygon("A", "0,0,2,2,2,0,0,2", 4) + polygon("A", "0,0,2,2,2,0,0,2", 4) +
                             polygon("A", "0,0,2,2,2,0,0,2", 4);
    writeFile(dir / "in.csv", file);

    // Start-up value: the checks are skipped entirely.
    RecordingHost quiet;
    VectorData data;
    ASSERT_EQ(VectorFileSize("in.csv", data.sizes, quiet), 0);
    ASSERT_EQ(VectorFileRead("in.csv", data, "null", quiet), 0);
    EXPECT_TRUE(quiet.messages.empty());
    EXPECT_EQ(quiet.captionsOf(Label::ReadProgress), (std::vector<std::string>{" 33 %", " 66 %", " 100 %"}));

    // Switched on during the first object's check: that object is checked, no other.
    SwitchingHost host;
    host.values.set(Setting::SkipFormatCheck, "0");
    ASSERT_EQ(VectorFileRead("in.csv", data, "null", host), 0);
    EXPECT_EQ(host.captionsOf(Label::ReadProgress),
              (std::vector<std::string>{" 33 %", " 66 %", " 100 %", "Checking  33 %"}));
    EXPECT_EQ(host.messages, std::vector<std::string>{"polygon A inter-nodes are crossing"});
}

TEST(VectorFileRead, RefusesAFileThatNoLongerMatchesItsScan) {
    VectorFixture f;
    f.file(kHeader + polygon("A", "0,0,1,0,1,1", 3) + polygon("B", "0,0,1,0,1,1,0,1,5,5", 5));
    VectorSizes sound;
    ASSERT_EQ(VectorFileSize("in.csv", sound, f.host), 0);

    struct Case {
        VectorSizes sizes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{2, 1, 13, 1, 5}, "The vector file holds more data than the scanned sizes"},
        {{2, 2, 13, 1, 4}, "The  2th data of vector file does not match the scanned sizes"},
        {{2, 2, 11, 1, 5}, "The variable line of vector file does not match the scanned sizes"},
        {{2, 2, 13, 0, 5}, "The  1th data of vector file does not match the scanned sizes"},
        {{2, 2147483647, 13, 1, 5}, "The  1th data of vector file does not match the scanned sizes"},
        {{2, 3, 13, 1, 5}, "The file ends inside the  3th data of vector file (value)"},
    };
    for (const auto& c : cases) {
        RecordingHost host;
        VectorData data;
        data.sizes = c.sizes;
        EXPECT_EQ(VectorFileRead("in.csv", data, "null", host), 1);
        EXPECT_EQ(host.messages, std::vector<std::string>{c.message});
        EXPECT_FALSE(data.consistent());
    }

    // Another type than the scan saw.
    f.file(kHeader + "1,2,Polygon,A,1,0,0\r\n");
    VectorData data;
    data.sizes = sound;
    data.sizes.objn = 1;
    EXPECT_EQ(VectorFileRead("in.csv", data, "null", f.host), 1);
    EXPECT_EQ(f.host.messages.back(), "Bad in the  1th data of vector file. Type:Polygon");

    f.file("Vector,c\r\nsp1,sp2,type$,name$,n\r\n");
    EXPECT_EQ(VectorFileRead("in.csv", data, "null", f.host), 1);
    EXPECT_EQ(f.host.messages.back(), "Invalid file type");
}

}  // namespace
}  // namespace el::test
