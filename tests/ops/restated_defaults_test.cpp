// GCC 12 warns falsely inside <regex> under the sanitizers (std::function in its state);
// clang has no such warning.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
// The front ends take their defaults from the parameter registry: an R function that
// spells out a registry default beside the argument's name ("min_before = 5") would keep
// its own copy when the registry's changes. The generated files are made from the registry
// and are left out. The window's number fields likewise take their ranges and first values
// from the registry, never from a number in the window's code.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <vector>

#include "base/numtext.hpp"
#include "base/parameters.hpp"

namespace el {
namespace {

namespace fs = std::filesystem;

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// "NAME = VALUE" with VALUE the default as R spells a number (5, 5L, 5.0 ...).
std::regex restatement(std::string_view rName, std::string_view value) {
    return std::regex("\\b" + std::string(rName) + "\\s*=\\s*" +
                      std::regex_replace(std::string(value), std::regex("\\."), "\\.") + "(L|\\.0*)?\\b(?![.0-9])");
}

TEST(RestatedDefaults, NoRSourceSpellsOutANumericRegistryDefault) {
    const fs::path folder = fs::path(EARLYLATE_SOURCE_DIR) / "r" / "earlylate" / "R";
    ASSERT_TRUE(fs::is_directory(folder));
    int numeric = 0;
    for (const Parameter& p : parameterTable()) {
        if (!p.shownBy(kR) || p.spelling.rName.empty() || !parseNumber(p.defaultValue)) continue;
        ++numeric;
        const std::regex pattern = restatement(p.spelling.rName, p.defaultValue);
        for (const auto& entry : fs::directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name == "settings.R" || name == "RcppExports.R") continue;  // generated
            EXPECT_FALSE(std::regex_search(readText(entry.path()), pattern))
                << name << " restates " << p.spelling.rName << " = " << p.defaultValue;
        }
    }
    EXPECT_GE(numeric, 3);  // the hindcast's rules at least
}

// The calls in `source` that give a spin box of its own a number as its range or value,
// e.g. "minRegions_->setRange(1, 1000000)".
std::vector<std::string> spelledOutSpinBoxNumbers(const std::string& source) {
    std::vector<std::string> found;
    const std::regex declared(R"((\w+)\s*=\s*new\s+Q(Double)?SpinBox\b)");
    for (std::sregex_iterator it(source.begin(), source.end(), declared), end; it != end; ++it) {
        const std::regex call("\\b" + (*it)[1].str() + R"(\s*->\s*set(Range|Minimum|Maximum|Value)\s*\(\s*-?[0-9.])");
        for (std::sregex_iterator c(source.begin(), source.end(), call); c != end; ++c) found.push_back(c->str());
    }
    return found;
}

TEST(RestatedDefaults, NoWindowSpinBoxSpellsOutItsRangeOrValue) {
    const fs::path folder = fs::path(EARLYLATE_SOURCE_DIR) / "workbench";
    ASSERT_TRUE(fs::is_directory(folder));
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".cpp") continue;
        for (const std::string& call : spelledOutSpinBoxNumbers(readText(entry.path())))
            ADD_FAILURE() << entry.path().filename().string() << ": " << call;
    }
    EXPECT_EQ(spelledOutSpinBoxNumbers("box_ = new QSpinBox;\nbox_->setRange(1, 100);\nbar_->setRange(0, 9);").size(),
              1u);
    EXPECT_TRUE(spelledOutSpinBoxNumbers("box_ = new QSpinBox;\nbox_->setRange(p.min, p.max);").empty());
}

TEST(RestatedDefaults, TheRestatementPatternFindsWhatItLooksFor) {
    const std::regex pattern = restatement("min_before", "5");
    EXPECT_TRUE(std::regex_search("f <- function(min_before = 5, x)", pattern));
    EXPECT_TRUE(std::regex_search("min_before=5L)", pattern));
    EXPECT_FALSE(std::regex_search("min_before = 50", pattern));
    EXPECT_FALSE(std::regex_search("min_before = 5.5", pattern));
    EXPECT_FALSE(std::regex_search("min_before = .el_defaults", pattern));
}

}  // namespace
}  // namespace el
