#pragma once
// Number texts shared by every log line, caption, message and file the tool writes,
// and the one rule for when a text reads as a number.

#include <optional>
#include <string>
#include <string_view>

namespace el {

// The report form: up to 15 significant digits, trailing zeros dropped, a blank before
// a value >= 0 and "-" before a negative one, no zero before the point below magnitude 1
// (" .25", "-.25", " 1998"); exponent form like C's %.15G (" 1E-05", " 1.5E+20").
// Not-a-number and infinities, which the core never prints, come out as " NaN", " Inf", "-Inf".
std::string strnum(double value);

// The printed form of counts and coordinates in vector files and the scan's side log:
// strnum followed by one blank.
std::string printed(double value);

// The plain form of numbers put into a data set: no leading blank, a zero before the
// point ("0.25", "-0.25", "1998.5"), up to 15 significant digits.
std::string plainnum(double value);

// The decimal form of tables meant for other programs: like plainnum, but never in
// exponent form ("0.000015", "150000000000000000000"). Not-a-number and infinities give "".
std::string decimalnum(double value);

// A text reads as a number when it is [+-]digits[.digits][(e|E)[+-]digits] (also ".5"
// and "5."), with blanks or tabs around it. "inf", "nan", hexadecimal, "1_0" and values
// beyond the range of a double are not numbers; values too small to represent read as 0.
std::optional<double> parseNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even integer (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

}  // namespace el
