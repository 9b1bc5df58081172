#include <gtest/gtest.h>

#include "base/decimal_year.hpp"

namespace el {
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

}  // namespace
}  // namespace el
