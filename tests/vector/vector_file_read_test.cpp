#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

// A header with two species and room for `pairs` coordinate pairs.
std::string header(int pairs) {
    std::string names = "vector,c\r\nsp1,sp2,type$,name$,n";
    for (int k = 1; k <= pairs; ++k) names += ",x,y";
    return names + "\r\n";
}

std::string record(const std::string& type, const std::string& name, const std::string& rest) {
    return "1,2," + type + "," + name + "," + rest + "\r\n";
}

// Scans and reads `text` with the checks on; the messages are left in f.host.
int scanAndRead(VectorFixture& f, const std::string& text, vec::VectorData& data) {
    f.host.values.set(Setting::SkipFormatCheck, "0");
    if (vec::VectorFileSize(text, data.sizes, f.host, f.host, "in.csv", f.sideLog()) != 0) return -1;
    return vec::VectorFileRead(text, data, "null", f.host);
}

TEST(VectorFileRead, CommentLineWithExtraFieldsAndMissingValues) {
    VectorFixture f;
    vec::VectorData data;
    ASSERT_EQ(scanAndRead(f, "vector,\"a, comment\",extra\r\nSp1,Sp2,TYPE$,Name$,n,x,y\r\n,2000,point,P,1,7,8\r\n", data),
              0);
    EXPECT_EQ(data.comment, "a, comment");
    EXPECT_EQ(data.valname, (std::vector<std::string>{"Sp1", "Sp2", "TYPE$", "Name$", "n", "x", "y"}));
    EXPECT_EQ(data.objects[0].values, (std::vector<std::string>{"null", "2000"}));
}

TEST(VectorFileRead, ChecksWarnAboutNamesAndCrossingBoundaries) {
    VectorFixture f;
    vec::VectorData data;
    const std::string square = "0,0,2,0,2,2,0,2";
    const std::string file = header(9) + record("polygon", "Z", "3,0,0,1,0,0,1")  // triangle: never
                             + record("polygon", "A", "4,0,0,2,2,2,0,0,2")        // bow tie: once
                             + record("tree", "T", "1,r,4,0,0,2,2,2,0,0,2")       // trees are not checked
                             + record("polygon", "A", "4," + square)
                             + record("area", "K", "2,out,4," + square + ",isle,3,2,2,1,1,1.5,.5")  // touches
                             + record("line", "L", "4,0,0,2,2,2,0,0,2")           // lines are not checked
                             + record("polygon", "A", "4," + square);
    ASSERT_EQ(scanAndRead(f, file, data), 0);
    // A name at 2, 4 and 7 gives one message for the 4th and one for the 7th.
    EXPECT_EQ(f.host.messages, (std::vector<std::string>{"polygon A inter-nodes are crossing",
                                                         " 4th polygon A object name is duplicated",
                                                         "area K inter-nodes are crossing",
                                                         " 7th polygon A object name is duplicated"}));
}

// Switches the checks off while the first object is being checked.
class SwitchingHost : public RecordingHost {
public:
    void checkpoint() override {
        RecordingHost::checkpoint();
        if (shown(Label::ReadProgress).starts_with("Checking")) values.set(Setting::SkipFormatCheck, "1");
    }
};

TEST(VectorFileRead, ProgressTextsAndTheSkipSwitch) {
    VectorFixture f;
    const std::string bowTie = record("polygon", "A", "4,0,0,2,2,2,0,0,2");
    const std::string text = header(4) + bowTie + bowTie + bowTie;
    vec::VectorData data;
    ASSERT_EQ(vec::VectorFileSize(text, data.sizes, f.host, f.host, "in.csv", f.sideLog()), 0);
    ASSERT_EQ(vec::VectorFileRead(text, data, "null", f.host), 0);  // start-up value: no checks
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_EQ(f.host.captionsOf(Label::ReadProgress), (std::vector<std::string>{" 33 %", " 66 %", " 100 %"}));

    SwitchingHost host;
    host.values.set(Setting::SkipFormatCheck, "0");
    ASSERT_EQ(vec::VectorFileRead(text, data, "null", host), 0);
    EXPECT_EQ(host.captionsOf(Label::ReadProgress),
              (std::vector<std::string>{" 33 %", " 66 %", " 100 %", "Checking  33 %"}));
    EXPECT_EQ(host.messages, std::vector<std::string>{"polygon A inter-nodes are crossing"});
}

TEST(VectorFileRead, RefusesAFileThatNoLongerMatchesItsScan) {
    RecordingHost host;
    const std::string text =
        header(5) + record("polygon", "A", "3,0,0,1,0,1,1") + record("polygon", "B", "5,0,0,1,0,1,1,0,1,5,5");
    const std::vector<std::pair<vec::VectorSizes, std::string>> cases = {
        {{2, 1, 13, 1, 5}, "The vector file holds more data than the scanned sizes"},
        {{2, 2, 13, 1, 4}, "The  2th data of vector file does not match the scanned sizes"},
        {{2, 2, 11, 1, 5}, "The variable line of vector file does not match the scanned sizes"},
        {{2, 2, 13, 0, 5}, "The  1th data of vector file does not match the scanned sizes"},
        {{2, 2147483647, 13, 1, 5}, "The  1th data of vector file does not match the scanned sizes"},
        {{2, 3, 13, 1, 5}, "The file ends inside the  3th data of vector file (value)"},
    };
    for (const auto& [sizes, message] : cases) {
        RecordingHost each;
        vec::VectorData data;
        data.sizes = sizes;
        EXPECT_EQ(vec::VectorFileRead(text, data, "null", each), 1);
        EXPECT_EQ(each.messages, std::vector<std::string>{message});
        EXPECT_FALSE(data.consistent());
    }

    vec::VectorData data;
    data.sizes = {2, 1, 5, 1, 1};
    EXPECT_EQ(vec::VectorFileRead(header(1) + record("Point", "A", "1,0,0"), data, "null", host),
              1);  // not what was scanned
    EXPECT_EQ(vec::VectorFileRead("Vector,c\r\nsp1,sp2,type$,name$,n,x,y\r\n", data, "null", host), 1);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"Bad in the  1th data of vector file. Type:Point", "Invalid file type"}));
}

}  // namespace
}  // namespace el::test
