#pragma once
// Compares two texts line by line: every number within a relative tolerance, everything
// else exactly. Used wherever a log is checked against a reference log.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace el::test {

// A line cut into its numbers and the text around them ("#" stands for each number).
struct NumberedLine {
    std::string shape;
    std::vector<double> numbers;
};

inline NumberedLine splitNumbers(const std::string& line) {
    auto digit = [&](std::size_t i) { return i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); };
    NumberedLine out;
    std::size_t i = 0;
    while (i < line.size()) {
        std::size_t j = i;
        if (line[j] == '-' || line[j] == '+') ++j;
        const std::size_t mantissa = j;
        while (digit(j)) ++j;
        const bool intDigits = j > mantissa;
        if (j < line.size() && line[j] == '.' && (intDigits || digit(j + 1))) {
            ++j;
            while (digit(j)) ++j;
        }
        if (j == mantissa) {  // no digits: a sign or a point that is just text
            out.shape += line[i++];
            continue;
        }
        if (j < line.size() && (line[j] == 'e' || line[j] == 'E')) {
            std::size_t k = j + 1;
            if (k < line.size() && (line[k] == '-' || line[k] == '+')) ++k;
            if (digit(k)) {
                while (digit(k)) ++k;
                j = k;
            }
        }
        out.numbers.push_back(std::stod(line.substr(i, j - i)));
        out.shape += '#';
        i = j;
    }
    return out;
}

inline void expectSameNumbers(const std::string& actual, const std::string& expected, const std::string& what,
                              double relativeTolerance) {
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
        const NumberedLine na = splitNumbers(la), ne = splitNumbers(le);
        ASSERT_EQ(na.shape, ne.shape) << what << " line " << lineNo;
        for (std::size_t k = 0; k < na.numbers.size(); ++k) {
            EXPECT_LE(std::fabs(na.numbers[k] - ne.numbers[k]), relativeTolerance * std::max(1.0, std::fabs(ne.numbers[k])))
                << what << " line " << lineNo << ": " << la << " vs " << le;
        }
    }
}

}  // namespace el::test
