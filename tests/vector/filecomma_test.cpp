#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

TEST(Filecomma, RemovesEveryTrailingCommaAndEndsLinesWithCrLf) {
    VectorFixture f;
    f.file("vector,c,,\nsp1,type$,name$,n,x1,y1,,,,\r,,,\r\n1,point,A,1,2,3\r\n\"q,\",\n", "src.csv");
    ASSERT_EQ(filecomma("src.csv", "out.tmp", f.host), 0);
    EXPECT_EQ(readFile(f.dir / "out.tmp"),
              crlf({"vector,c", "sp1,type$,name$,n,x1,y1", "", "1,point,A,1,2,3", "\"q,\""}));
    EXPECT_TRUE(f.host.messages.empty());
}

TEST(Filecomma, MissingSourceIsReportedNotCopied) {
    VectorFixture f;
    EXPECT_EQ(filecomma("absent.csv", "out.tmp", f.host), 1);
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0], "Cannot open file: absent.csv");
}

}  // namespace
}  // namespace el::test
