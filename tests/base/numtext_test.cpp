#include "base/numtext.hpp"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace el {
namespace {

TEST(Strnum, PlainValuesCarrySignPositionAndNoLeadingZero) {
    EXPECT_EQ(strnum(0), " 0");
    EXPECT_EQ(strnum(-0.0), " 0");
    EXPECT_EQ(strnum(0.25), " .25");
    EXPECT_EQ(strnum(-0.25), "-.25");
    EXPECT_EQ(strnum(1998), " 1998");
    EXPECT_EQ(strnum(1998.5), " 1998.5");
    EXPECT_EQ(strnum(-11.2252433925435), "-11.2252433925435");
    EXPECT_EQ(strnum(-10), "-10");
}

TEST(Strnum, FifteenSignificantDigitsRoundedAndTrimmed) {
    EXPECT_EQ(strnum(1.0 / 3), " .333333333333333");
    EXPECT_EQ(strnum(-1.0 / 3), "-.333333333333333");
    EXPECT_EQ(strnum(2.0 / 3), " .666666666666667");
    EXPECT_EQ(strnum(0.9999999999999999), " 1");
    EXPECT_EQ(strnum(99999.99999999999), " 100000");
    EXPECT_EQ(strnum(0.1 + 0.2), " .3");
    EXPECT_EQ(strnum(2009.94344600532), " 2009.94344600532");
}

TEST(Strnum, ExponentFormLikePercentG) {
    EXPECT_EQ(strnum(1e-4), " .0001");
    EXPECT_EQ(strnum(1e-5), " 1E-05");
    EXPECT_EQ(strnum(1e-7), " 1E-07");
    EXPECT_EQ(strnum(-2.5e-7), "-2.5E-07");
    EXPECT_EQ(strnum(1.5e20), " 1.5E+20");
    EXPECT_EQ(strnum(1e14), " 100000000000000");
    EXPECT_EQ(strnum(1e15), " 1E+15");
    EXPECT_EQ(strnum(1e16), " 1E+16");
    EXPECT_EQ(strnum(123456789012345678.0), " 1.23456789012346E+17");
    EXPECT_EQ(strnum(1.3333333333e-05), " 1.3333333333E-05");
}

TEST(Strnum, NonFiniteValuesHaveReadableTexts) {
    EXPECT_EQ(strnum(std::numeric_limits<double>::quiet_NaN()), " NaN");
    EXPECT_EQ(strnum(std::numeric_limits<double>::infinity()), " Inf");
    EXPECT_EQ(strnum(-std::numeric_limits<double>::infinity()), "-Inf");
}

TEST(PrintedAndPlain, Forms) {
    EXPECT_EQ(printed(4), " 4 ");
    EXPECT_EQ(printed(0.5), " .5 ");
    EXPECT_EQ(printed(-1.5), "-1.5 ");
    EXPECT_EQ(plainnum(0.25), "0.25");
    EXPECT_EQ(plainnum(-0.25), "-0.25");
    EXPECT_EQ(plainnum(1998.5), "1998.5");
    EXPECT_EQ(plainnum(11), "11");
    EXPECT_EQ(plainnum(-0.0), "0");
    EXPECT_EQ(plainnum(0.367437718323632), "0.367437718323632");
}

TEST(ParseNumber, AcceptsDecimalForms) {
    EXPECT_EQ(parseNumber("1998"), 1998);
    EXPECT_EQ(parseNumber("  -2.5\t"), -2.5);
    EXPECT_EQ(parseNumber("+3"), 3);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("5."), 5);
    EXPECT_EQ(parseNumber("1E-05"), 1e-5);
    EXPECT_EQ(parseNumber("2.5e+3"), 2500);
    EXPECT_EQ(parseNumber("1e-400"), 0.0);
    EXPECT_EQ(parseNumber("0.000e999"), 0.0);
}

TEST(ParseNumber, RejectsEverythingElse) {
    for (const char* text : {"", " ", "inf", "nan", "Infinity", "0x10", "1_0", "1e400", "-1e400", "1,5", "1.2.3",
                             "e5", ".", "+", "1e", "1e+", "Arrived", "2000a", "- 1"}) {
        EXPECT_FALSE(parseNumber(text).has_value()) << text;
    }
}

TEST(RoundHalfEven, HalvesGoToEven) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(7.5), 8);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(333.35), 333);
}

}  // namespace
}  // namespace el
