#pragma once
// The number and date texts of the report documents.

#include <optional>
#include <string>

namespace el::figures {

// `value` with `decimals` decimals ("0.00" rather than "-0.00").
std::string fixedText(double value, int decimals);

// A correlation coefficient with its count: "0.877 (29 regions)", "not computable (1 region)".
std::string coefficientText(double r, int n);

// "0.421" style share as a percentage: "42 %".
std::string percentText(double share);

// The log header's "MM-DD-YYYY" as "YYYY-MM-DD"; any other text as it is.
std::string isoDate(const std::string& monthDayYear);

}  // namespace el::figures
