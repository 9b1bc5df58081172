#include <gtest/gtest.h>

#include "tests/support/temp_dir.hpp"
#include "vector/vector_file.hpp"

namespace el::test {
namespace {

TEST(Filecomma, RemovesTrailingCommasAndEndsLinesWithCrLf) {
    EXPECT_EQ(vec::filecomma("vector,c,,\nsp1,type$,x1,,,,\r,,,\r\n\"q,\",\n"),
              crlf({"vector,c", "sp1,type$,x1", "", "\"q,\""}));
    EXPECT_EQ(vec::filecomma(""), "");
    EXPECT_EQ(vec::filecomma("no end,"), "no end\r\n");
}

}  // namespace
}  // namespace el::test
