#include <array>

#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

const std::string kHeader = "vector,test\r\nsp1,sp2,type$,name$,n,x1,y1,x2,y2,x3,y3\r\n";

struct ScanResult {
    int erf;
    vec::VectorSizes sizes;
    std::vector<std::string> messages;
    std::string sideLog;  // empty when the scan removed it
};

ScanResult scan(const std::string& text) {
    VectorFixture f;
    ScanResult r{};
    r.erf = vec::VectorFileSize(text, r.sizes, f.host, f.host, "in.csv", f.sideLog());
    r.messages = f.host.messages;
    r.sideLog = f.sideLogText();
    return r;
}

std::string names(const std::string& head, int coordinates) {
    std::string out = head;
    for (int k = 0; k < coordinates; ++k) out += ",c";
    return out + "\r\n";
}

TEST(VectorFileSize, SoundFilesReportTheirSizesAndLeaveNoSideLog) {
    struct Case {
        std::string bytes;
        vec::VectorSizes sizes;  // valn, objn, maxline, maxpolygon, maxnode
    };
    const std::vector<Case> cases = {
        {"vector,c\r\n" + names("A,type$,name$,n", 10) + "1,polygon,P,3,0,0,1,0,0,1\r\n" +
             "2,polygon,Q,5,0,0,1,0,1,1,.5,2,0,1\r\n",
         {1, 2, 13, 1, 5}},
        // Capitalised structural names; an area with parts of 4 and 3 nodes; blank lines at the end.
        {"vector,c\r\n" + names("S1,S2,TYPE$,Region NAME$,Parts", 18) +
             "1,,area,K,2,outer,4,0,0,3,0,3,3,0,3,isle,3,1,1,2,1,1,2\r\n\r\n \r\n",
         {2, 1, 21, 2, 4}},
        {"vector,empty\r\nsp1,type$,name$,n\r\n", {1, 0, 3, 0, 0}},
    };
    for (const auto& c : cases) {
        const auto r = scan(c.bytes);
        EXPECT_EQ(r.erf, 0);
        EXPECT_EQ(std::vector<int>({r.sizes.valn, r.sizes.objn, r.sizes.maxline, r.sizes.maxpolygon, r.sizes.maxnode}),
                  std::vector<int>({c.sizes.valn, c.sizes.objn, c.sizes.maxline, c.sizes.maxpolygon, c.sizes.maxnode}));
        EXPECT_EQ(r.sideLog, "");
        EXPECT_TRUE(r.messages.empty());
    }
}

TEST(VectorFileSize, SideLogTracesTheScanUpToTheFailure) {
    const auto r = scan(kHeader + "1,2,point,A,1,5,6\r\n");
    EXPECT_EQ(r.erf, 1);
    EXPECT_EQ(r.sideLog, crlf({"Filename: in.csv", "File type: vector", "Comment: test", " 1 th valiable: sp1",
                               " 2 th valiable: sp2", " 3 th valiable: type$",
                               "Structural variable name: type$,name$,n", " 6 th valiable: x1", " 7 th valiable: y1",
                               " 8 th valiable: x2", " 9 th valiable: y2", " 10 th valiable: x3",
                               " 11 th valiable: y3", "Number of variables:  2 ",
                               " 1 th object Type:point  Name:A Number of nodes: 1 ",
                               "Total number of variables (ordinal, structural and coordinate):  11 ",
                               "Required number of variables (ordinal, structural and coordinate):  7 ",
                               " 1 Incorrect total number of variables (ordinal, structural and coordinate) 7個必要です"}));
    EXPECT_EQ(r.messages,
              std::vector<std::string>{"Incorrect total number of variables (ordinal, structural and coordinate) 7個必要です"});
}

TEST(VectorFileSize, EveryFailureHasItsMessageAndLogLine) {
    // {file, message, last log line}: "" for the message itself, " N " for the message after
    // that record number, or a line of its own. The failures of the hostile files are checked
    // through the batch runner.
    const std::vector<std::array<std::string, 3>> cases = {{
        {"Vector,c\r\nsp1,type$,name$,n\r\n", "Invalid file type", ""},
        {"vector,c\r\nsp1,type$,label$,n\r\n", "Bad variable name", "Bad structural variable name"},
        {"vector,c\r\nsp1,type$\r\n", "Bad variable name", "Bad structural variable name"},
        {"vector,c\r\ntype$,name$,n\r\n", "Require at least one variable", ""},
        {"vector,c\r\nsp1,name$,n\r\n", "Require at least one variable", ""},
        {kHeader + "1,2,Polygon,A,1,0,0\r\n", "Bad in the  1th data of vector file. Type:Polygon", " 1 th data was bad"},
        {kHeader + "1,2,point,A,1,0,0\r\n1,2,dot,B,1,0,0\r\n", "Bad in the  2th data of vector file. Type:dot",
         " 2 th data was bad"},
        {kHeader + "1,2,line,A,2,0,0,1,1\r\n",
         "Incorrect total number of variables (ordinal, structural and coordinate) 9個必要です", " 1 "},
        {kHeader + "1,2,line,A,one,0,0", "Bad count in the  1th data of vector file: one", " 1 "},
        {kHeader + "1,2,line,A,1.5,0,0,1,1", "Bad count in the  1th data of vector file: 1.5", " 1 "},
        {kHeader + "1,2,area,A,1,ring,2147483647,0,0", "Bad count in the  1th data of vector file: 2147483647", " 1 "},
    }};
    for (const auto& [file, message, logLine] : cases) {
        SCOPED_TRACE(file);
        const auto r = scan(file);
        EXPECT_EQ(r.erf, 1);
        EXPECT_EQ(r.messages, std::vector<std::string>{message});
        ASSERT_TRUE(r.sideLog.ends_with("\r\n"));
        const std::string body = r.sideLog.substr(0, r.sideLog.size() - 2);
        const bool prefix = logLine.size() == 3 && logLine.front() == ' ' && logLine.back() == ' ';
        const std::string expected = logLine.empty() ? message : prefix ? logLine + message : logLine;
        EXPECT_EQ(body.substr(body.rfind("\r\n") + 2), expected);
    }
}

}  // namespace
}  // namespace el::test
