#include <gtest/gtest.h>

#include "gis/attribute_text.hpp"
#include "gis/decimal_year.hpp"

namespace el::gis {
namespace {

TEST(DecimalYear, DayOfYearOverDaysInYear) {
    EXPECT_EQ(*decimalYear(2001, 1, 1), 2001.0);
    EXPECT_DOUBLE_EQ(*decimalYear(2001, 12, 31), 2001 + 364.0 / 365);
    EXPECT_DOUBLE_EQ(*decimalYear(2000, 3, 1), 2000 + 60.0 / 366);  // 2000 is a leap year
    EXPECT_DOUBLE_EQ(*decimalYear(1900, 3, 1), 1900 + 59.0 / 365);  // 1900 is not
    EXPECT_DOUBLE_EQ(*decimalYear(2001, 1, 2, 43200), 2001 + 1.5 / 365);
    EXPECT_FALSE(decimalYear(2001, 2, 29));
    EXPECT_FALSE(decimalYear(2001, 13, 1));
    EXPECT_FALSE(decimalYear(2001, 4, 0));
    EXPECT_TRUE(decimalYear(2004, 2, 29));
}

TEST(VectorFieldText, KeepsTextUnlessItWouldBreakTheRecord) {
    EXPECT_EQ(vectorFieldText("Arrived"), "Arrived");
    EXPECT_EQ(vectorFieldText("a, b"), "a, b");      // the writer quotes it
    EXPECT_EQ(vectorFieldText("5\" pipe"), "5\" pipe");  // a quote inside an unquoted field is plain text
    EXPECT_EQ(vectorFieldText("two\r\nlines\n"), "two  lines ");
    EXPECT_EQ(vectorFieldText(" \"quoted\" x"), " 'quoted' x");
    EXPECT_EQ(vectorFieldText("say \"hi\", then"), "say 'hi', then");
}

}  // namespace
}  // namespace el::gis
