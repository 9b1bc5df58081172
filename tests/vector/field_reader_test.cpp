#include "vector/field_reader.hpp"

#include <gtest/gtest.h>

namespace el::vec {
namespace {

std::vector<std::string> allFields(std::string_view bytes) {
    FieldReader reader(bytes);
    std::vector<std::string> out;
    while (auto field = reader.next()) out.emplace_back(*field);
    return out;
}

using Fields = std::vector<std::string>;

TEST(FieldReader, FieldsRunOnAcrossEveryKindOfLineEnd) {
    EXPECT_EQ(allFields("a,b\r\nc\nd\re"), (Fields{"a", "b", "c", "d", "e"}));
    // A trailing comma is a real, empty field.
    EXPECT_EQ(allFields("a,\r\nb"), (Fields{"a", "", "b"}));
    EXPECT_EQ(allFields("\xEF\xBB\xBFvector,x"), (Fields{"vector", "x"}));
}

TEST(FieldReader, BlanksAndQuotes) {
    // Leading blanks go, trailing ones stay with a text field.
    EXPECT_EQ(allFields(" \t a b ,c"), (Fields{"a b ", "c"}));
    // Quotes hide commas and line ends; text after the closing quote is dropped.
    EXPECT_EQ(allFields("\"a,b\"junk,\"x\r\ny\",z"), (Fields{"a,b", "x\r\ny", "z"}));
    // An unclosed quote runs to the end of the data.
    EXPECT_EQ(allFields("a,\"b,c\r\nd"), (Fields{"a", "b,c\r\nd"}));
}

TEST(FieldReader, LinesAndTheEndOfTheData) {
    FieldReader reader("vector,comment,extra,more\r\nsp1,TYPE$\r\n1,2\r\n \r\n\t\r\n");
    EXPECT_EQ(*reader.next(), "vector");
    EXPECT_EQ(*reader.next(), "comment");
    reader.skipRestOfLine();
    EXPECT_EQ(reader.readLine(), "sp1,TYPE$");
    EXPECT_FALSE(reader.onlyBlankLinesLeft());
    EXPECT_EQ(*reader.next(), "1");
    EXPECT_EQ(*reader.next(), "2");
    EXPECT_TRUE(reader.onlyBlankLinesLeft());

    EXPECT_EQ(splitFields("sp1,\"a,b\",c"), (Fields{"sp1", "a,b", "c"}));
    EXPECT_EQ(splitFields(""), (Fields{""}));
}

}  // namespace
}  // namespace el::vec
