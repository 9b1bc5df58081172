#include "engine/run/name_match.hpp"

#include <gtest/gtest.h>

namespace el::engine {
namespace {

TEST(NameMatch, EditDistanceCountsCharactersAndIgnoresAsciiCase) {
    EXPECT_EQ(editDistance("Harmonia axiridis", "Harmonia axyridis"), 1u);
    EXPECT_EQ(editDistance("invader", "Invader"), 0u);
    EXPECT_EQ(editDistance("", "abc"), 3u);
    EXPECT_EQ(editDistance("kitten", "sitting"), 3u);
    // One Japanese character is one edit, not three bytes.
    EXPECT_EQ(editDistance("ブタクサ", "オオブタクサ"), 2u);
    EXPECT_EQ(editDistance("分布", "未分布"), 1u);
}

TEST(NameMatch, RefusalSuggestsCloseNamesOrListsTheSpecies) {
    const std::vector<std::string> species{"Harmonia axyridis", "Sp1", "Sp2", "Invader"};
    EXPECT_EQ(noSpeciesNamed("Harmonia axiridis", species),
              "no species named \"Harmonia axiridis\"; did you mean \"Harmonia axyridis\"?");
    EXPECT_EQ(noSpeciesNamed("invader", species), "no species named \"invader\"; did you mean \"Invader\"?");
    // Ties keep list order; the nearest come first.
    EXPECT_EQ(closestNames("Sp3", species), (std::vector<std::string>{"Sp1", "Sp2"}));
    EXPECT_EQ(closestNames("sp1", species), (std::vector<std::string>{"Sp1", "Sp2"}));
    EXPECT_EQ(noSpeciesNamed("Sp3", species), "no species named \"Sp3\"; did you mean \"Sp1\" or \"Sp2\"?");
    // Nothing near: the species there are, the first few.
    EXPECT_EQ(noSpeciesNamed("Quercus robur", species),
              "no species named \"Quercus robur\"; the species are \"Harmonia axyridis\", \"Sp1\", \"Sp2\" and "
              "\"Invader\"");
    const std::vector<std::string> many{"Aa1", "Bb2", "Cc3", "Dd4", "Ee5", "Ff6", "Gg7"};
    EXPECT_EQ(noSpeciesNamed("Quercus", many),
              "no species named \"Quercus\"; the species are \"Aa1\", \"Bb2\", \"Cc3\", \"Dd4\", \"Ee5\" and 2 more");
}

}  // namespace
}  // namespace el::engine
