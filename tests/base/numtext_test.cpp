#include "base/numtext.hpp"

#include <limits>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace el {
namespace {

using Texts = std::vector<std::pair<double, const char*>>;

TEST(Strnum, SignPositionFifteenDigitsAndExponentForm) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const Texts cases = {
        // a space for the sign of positive values, no leading zero
        {0, " 0"}, {-0.0, " 0"}, {0.25, " .25"}, {-0.25, "-.25"}, {1998.5, " 1998.5"}, {-10, "-10"},
        // fifteen significant digits, rounded, trailing zeros dropped
        {1.0 / 3, " .333333333333333"}, {2.0 / 3, " .666666666666667"}, {0.9999999999999999, " 1"},
        {99999.99999999999, " 100000"}, {0.1 + 0.2, " .3"}, {-11.2252433925435, "-11.2252433925435"},
        // exponent form as %G chooses it
        {1e-4, " .0001"}, {1e-5, " 1E-05"}, {-2.5e-7, "-2.5E-07"}, {1.5e20, " 1.5E+20"},
        {1e14, " 100000000000000"}, {1e15, " 1E+15"}, {123456789012345678.0, " 1.23456789012346E+17"},
        {1.3333333333e-05, " 1.3333333333E-05"},
        {std::numeric_limits<double>::quiet_NaN(), " NaN"}, {inf, " Inf"}, {-inf, "-Inf"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(strnum(value), text);
}

TEST(PrintedAndPlain, Forms) {
    EXPECT_EQ(printed(4), " 4 ");
    EXPECT_EQ(printed(-1.5), "-1.5 ");
    for (const auto& [value, text] : Texts{{0.25, "0.25"}, {-0.25, "-0.25"}, {11, "11"}, {-0.0, "0"},
                                           {0.367437718323632, "0.367437718323632"}})
        EXPECT_EQ(plainnum(value), text);
    // The decimal form of exported tables: plainnum's digits, never an exponent.
    for (const auto& [value, text] : Texts{{1998.5, "1998.5"}, {1.5e-5, "0.000015"}, {-2.5e-7, "-0.00000025"},
                                           {1e-4, "0.0001"}, {1.5e20, "150000000000000000000"},
                                           {123456789012345678.0, "123456789012346000"}, {1e15, "1000000000000000"},
                                           {1.3333333333e-05, "0.000013333333333"}, {-0.0, "0"}})
        EXPECT_EQ(decimalnum(value), text);
    EXPECT_EQ(decimalnum(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(ParseNumber, AcceptsDecimalFormsOnly) {
    for (const auto& [value, text] : Texts{{1998, "1998"}, {-2.5, "  -2.5\t"}, {3, "+3"}, {0.5, ".5"}, {5, "5."},
                                           {1e-5, "1E-05"}, {2500, "2.5e+3"}, {0, "1e-400"}, {0, "0.000e999"}})
        EXPECT_EQ(parseNumber(text), value) << text;
    for (const char* text : {"", " ", "inf", "nan", "Infinity", "0x10", "1_0", "1e400", "-1e400", "1,5", "1.2.3",
                             "e5", ".", "+", "1e", "1e+", "Arrived", "2000a", "- 1"}) {
        EXPECT_FALSE(parseNumber(text).has_value()) << text;
    }
}

TEST(RoundHalfEven, HalvesGoToEven) {
    for (const auto& [value, rounded] : std::vector<std::pair<double, double>>{
             {2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4999, 2}, {0.5, 0}, {333.35, 333}})
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

}  // namespace
}  // namespace el
