// GCC 12 warns falsely inside <regex> under the sanitizers (std::function in its state);
// clang has no such warning.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
// The front ends take their defaults from the parameter registry: an R function that
// spells out a registry default beside the argument's name ("min_before = 5") would keep
// its own copy when the registry's changes. The generated files are made from the registry
// and are left out.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

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
