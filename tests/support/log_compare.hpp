#pragma once
// Compares two texts line by line: every number within a relative tolerance, everything
// else exactly. Used wherever a log is checked against a reference log.

#include <algorithm>
#include <cmath>
#include <regex>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

namespace el::test {

inline void expectSameNumbers(const std::string& actual, const std::string& expected, const std::string& what,
                              double relativeTolerance) {
    static const std::regex number(R"([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)");
    std::istringstream a(actual), e(expected);
    std::string la, le;
    int lineNo = 0;
    while (true) {
        const bool moreA = static_cast<bool>(std::getline(a, la));
        const bool moreE = static_cast<bool>(std::getline(e, le));
        ++lineNo;
        if (!moreA || !moreE) {
            EXPECT_EQ(moreA, moreE) << what << ": different line counts at line " << lineNo;
            return;
        }
        const std::string textA = std::regex_replace(la, number, "#");
        const std::string textE = std::regex_replace(le, number, "#");
        ASSERT_EQ(textA, textE) << what << " line " << lineNo;
        auto ia = std::sregex_iterator(la.begin(), la.end(), number);
        auto ie = std::sregex_iterator(le.begin(), le.end(), number);
        for (; ia != std::sregex_iterator() && ie != std::sregex_iterator(); ++ia, ++ie) {
            const double va = std::stod(ia->str()), ve = std::stod(ie->str());
            EXPECT_LE(std::fabs(va - ve), relativeTolerance * std::max(1.0, std::fabs(ve)))
                << what << " line " << lineNo << ": " << la << " vs " << le;
        }
    }
}

}  // namespace el::test
