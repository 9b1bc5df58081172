#include "vector/field_reader.hpp"

#include <gtest/gtest.h>

namespace el::vec {
namespace {

using Fields = std::vector<std::string>;

Fields allFields(std::string_view bytes) {
    FieldReader reader(bytes);
    Fields out;
    while (auto field = reader.next()) out.emplace_back(*field);
    return out;
}

TEST(FieldReader, FieldRules) {
    EXPECT_EQ(allFields("\xEF\xBB\xBF" "a,b\r\nc\nd\re"), (Fields{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(allFields("a,\r\nb"), (Fields{"a", "", "b"}));  // a trailing comma is a real field
    EXPECT_EQ(allFields(" \t a b ,c"), (Fields{"a b ", "c"}));
    EXPECT_EQ(allFields("\"a,b\"junk,\"x\r\ny\",z"), (Fields{"a,b", "x\r\ny", "z"}));
    EXPECT_EQ(allFields("a,\"b,c\r\nd"), (Fields{"a", "b,c\r\nd"}));  // unclosed quote
}

TEST(FieldReader, LinesAndTrailingBlankLines) {
    FieldReader reader("vector,comment,extra\r\nsp1,TYPE$\r\n1\r\n \r\n\t\r\n");
    EXPECT_EQ(*reader.next(), "vector");
    EXPECT_EQ(*reader.next(), "comment");
    reader.skipRestOfLine();
    EXPECT_EQ(reader.readLine(), "sp1,TYPE$");
    EXPECT_FALSE(reader.onlyBlankLinesLeft());
    EXPECT_EQ(*reader.next(), "1");
    EXPECT_TRUE(reader.onlyBlankLinesLeft());
}

}  // namespace
}  // namespace el::vec
