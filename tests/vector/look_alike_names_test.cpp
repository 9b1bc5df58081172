#include "vector/look_alike_names.hpp"

#include <gtest/gtest.h>

#include "tests/engine/run_fixture.hpp"

namespace el::vec {
namespace {

// The names of a first-record database: one typed with a Cyrillic "с" (U+0441), one with a
// Greek omicron (U+03BF), names wholly in one alphabet, and a Greek name beside its Latin one.
const std::string kCyrillicC =
    "Elodea \xD1\x81"
    "anadensis";
const std::string kGreekO = "Harm\xCE\xBFnia axyridis";
const std::string kRussia = "\xD0\xA0\xD0\xBE\xD1\x81\xD1\x81\xD0\xB8\xD1\x8F";  // Россия
const std::string kHellas = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1";  // Ελλάδα

TEST(ScriptMix, FoundInAWordOrAcrossWordsButNotInOneAlphabet) {
    const auto mix = scriptMixOf(kCyrillicC);
    ASSERT_TRUE(mix);
    EXPECT_EQ(mix->word,
              "\xD1\x81"
              "anadensis");
    EXPECT_EQ(mix->letter, "\xD1\x81");
    EXPECT_EQ(mix->script, Script::Cyrillic);
    EXPECT_TRUE(mix->inOneWord);
    EXPECT_EQ(scriptMixOf(kGreekO)->script, Script::Greek);
    // A Greek name beside its Latin one mixes across words only.
    const auto across = scriptMixOf(kHellas + " (Greece)");
    ASSERT_TRUE(across);
    EXPECT_FALSE(across->inOneWord);
    EXPECT_EQ(across->word, kHellas);
    // Latin with accents, other scripts, digits and punctuation mix nothing.
    for (const std::string& plain : {std::string("Elodea canadensis"), std::string("C\xC3\xB4te d'Ivoire"), kRussia,
                                     kHellas, std::string("\xE5\x8C\x97\xE6\xB5\xB7\xE9\x81\x93 Hokkaido"),
                                     std::string("R\xC3\xA9union 974"), std::string()})
        EXPECT_FALSE(scriptMixOf(plain)) << plain;
    // A byte that is no UTF-8 is no letter of any alphabet.
    EXPECT_FALSE(
        scriptMixOf("Sp\xFF"
                    "ecies"));
    EXPECT_EQ(scriptOf(0xD7), Script::Other);  // the multiplication sign of "Populus × canadensis"
}

TEST(ScriptMix, LookAlikesAreWrittenInLatinLetters) {
    EXPECT_EQ(latinLookAlike(kCyrillicC), "Elodea canadensis");
    EXPECT_EQ(latinLookAlike(kGreekO), "Harmonia axyridis");
    // Every Cyrillic letter of "АВЕКМНОРСТХаеорсху" and the Greek capitals have a Latin twin.
    EXPECT_EQ(latinLookAlike("\xD0\x90\xD0\x92\xD0\x95\xD0\x9A\xD0\x9C\xD0\x9D\xD0\x9E\xD0\xA0\xD0\xA1\xD0\xA2\xD0\xA5"
                             "\xD0\xB0\xD0\xB5\xD0\xBE\xD1\x80\xD1\x81\xD1\x85\xD1\x83"),
              "ABEKMHOPCTXaeopcxy");
    EXPECT_EQ(
        latinLookAlike("\xCE\x91\xCE\x92\xCE\x95\xCE\x97\xCE\x99\xCE\x9A\xCE\x9C\xCE\x9D\xCE\x9F\xCE\xA1\xCE\xA4"),
        "ABEHIKMNOPT");
    // Letters without a twin, and everything else, stay as they are.
    EXPECT_EQ(latinLookAlike(kRussia), "Pocc\xD0\xB8\xD1\x8F");
    EXPECT_EQ(latinLookAlike("\xD0\x96\xD1\x83\xD0\xBA"), "\xD0\x96y\xD0\xBA");  // Жук: only the у
    EXPECT_EQ(latinLookAlike("Sp\xFF 1"), "Sp\xFF 1");
}

TEST(MixedScriptNames, EachWithItsLookAlikeWhereTheDataHoldsOne) {
    const std::vector<std::string> names{"Elodea canadensis", kCyrillicC, kGreekO, "Acer negundo",
                                         kHellas + " Greece", "Greece",   kRussia, kHellas + " Crete"};
    const std::vector<MixedScriptName> found = mixedScriptNames(names);
    ASSERT_EQ(found.size(), 2U);
    EXPECT_EQ(found[0].index, 1U);
    EXPECT_EQ(found[0].lookAlike, 0U);
    EXPECT_EQ(found[1].index, 2U);
    EXPECT_FALSE(found[1].lookAlike);  // no "Harmonia axyridis" in Latin letters: still mixed in a word
    // A name typed twice with different look-alikes: each is the other's twin, and the one in
    // Latin letters alone is preferred where there is one.
    const std::string otherC = "Elode\xD0\xB0 canadensis";
    const std::vector<MixedScriptName> twins = mixedScriptNames({kCyrillicC, otherC});
    ASSERT_EQ(twins.size(), 2U);
    EXPECT_EQ(twins[0].lookAlike, 1U);
    EXPECT_EQ(twins[1].lookAlike, 0U);
    EXPECT_EQ(mixedScriptNames({kCyrillicC, otherC, "Elodea canadensis"})[0].lookAlike, 2U);
    // Across words, a name mixes only where another looks the same.
    const std::string greekA = "\xCE\x91 Greece";  // a Greek capital alpha, then Latin
    EXPECT_TRUE(mixedScriptNames({greekA}).empty());
    const std::vector<MixedScriptName> spaced = mixedScriptNames({greekA, "A Greece"});
    ASSERT_EQ(spaced.size(), 1U);
    EXPECT_EQ(spaced[0].lookAlike, 1U);
}

// Region "Сzechia" typed with a Cyrillic capital С; species 1 typed with a Cyrillic с.
VectorData mixedData() {
    return test::makeData({"Elodea canadensis", kCyrillicC, "Acer negundo"}, {"Czechia", "\xD0\xA1zechia", "Austria"},
                          {{"1890", "NotYetArrived", "1950"},
                           {"NotYetArrived", "NotYetArrived", "Arrived"},
                           {"1901", "1911", "NotYetArrived"}});
}

TEST(MixedScriptWarnings, NameTheNameWhereItIsAndWhatItLooksLike) {
    const std::vector<NameWarning> all = mixedScriptWarnings(mixedData(), {"Elodea canadensis", "Acer negundo"});
    ASSERT_EQ(all.size(), 2U);
    EXPECT_EQ(all[0].name, "\xD0\xA1zechia");
    EXPECT_EQ(all[0].text,
              "the region \"\xD0\xA1zechia\" (region 2) mixes Latin and Cyrillic letters: the \"\xD0\xA1\" of "
              "\"\xD0\xA1zechia\" is Cyrillic. It looks like the region \"Czechia\" (region 1): the two are "
              "different regions to the analysis");
    EXPECT_EQ(all[1].name, kCyrillicC);
    EXPECT_EQ(all[1].text,
              "the species \"" + kCyrillicC +
                  "\" (recorded in region \"Austria\") mixes Latin and "
                  "Cyrillic letters: the \"\xD1\x81\" of \"\xD1\x81"
                  "anadensis\" is Cyrillic. It looks like the "
                  "species \"Elodea canadensis\", which the data also holds: the two are analysed as different "
                  "species");
    // The species is warned of when it, or the name it looks like, is analysed; not otherwise.
    EXPECT_EQ(mixedScriptWarnings(mixedData(), {kCyrillicC}).size(), 2U);
    EXPECT_EQ(mixedScriptWarnings(mixedData(), {"Acer negundo"}).size(), 1U);  // the region only
    // The fields after the species (type$, name$, ...) are no species.
    VectorData data = mixedData();
    data.valname[3] = "n\xD0\xB0me$";
    EXPECT_EQ(mixedScriptWarnings(data, {"Acer negundo", "n\xD0\xB0me$"}).size(), 1U);
}

TEST(MixedScriptWarnings, ANameWithoutATwinIsStillWarnedOf) {
    const VectorData data = test::makeData({kGreekO}, {"Austria"}, {{"NotYetArrived"}});
    const std::vector<NameWarning> found = mixedScriptWarnings(data, {kGreekO});
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0].text, "the species \"" + kGreekO + "\" mixes Latin and Greek letters: the \"\xCE\xBF\" of \"" +
                                 std::string("Harm\xCE\xBFnia") +
                                 "\" is Greek. Check its spelling in the source: no name typed in "
                                 "Latin letters alone will match it");
}

}  // namespace
}  // namespace el::vec
