#include <gtest/gtest.h>

#include "tests/vector/vector_fixture.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

TEST(Filecomma, RemovesTrailingCommasAndEndsLinesWithCrLf) {
    VectorFixture f;
    f.file("vector,c,,\nsp1,type$,x1,,,,\r,,,\r\n\"q,\",\n", "src.csv");
    ASSERT_EQ(filecomma("src.csv", "out.tmp", f.host), 0);
    EXPECT_EQ(readFile(f.dir / "out.tmp"), crlf({"vector,c", "sp1,type$,x1", "", "\"q,\""}));

    EXPECT_EQ(filecomma("absent.csv", "out.tmp", f.host), 1);
    EXPECT_EQ(f.host.messages, std::vector<std::string>{"Cannot open file: absent.csv"});
}

}  // namespace
}  // namespace el::test
