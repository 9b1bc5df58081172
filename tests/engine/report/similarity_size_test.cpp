// The size estimate of the similarity output against the lines the log really gets.

#include <gtest/gtest.h>

#include "engine/report/report_weights.hpp"
#include "engine/report/similarity_size.hpp"

namespace el::engine {
namespace {

std::vector<std::string> speciesNames(int m) {
    std::vector<std::string> names;
    for (int s = 0; s < m; ++s) names.push_back("Species number " + std::to_string(s));
    return names;
}

// Every cell viable on `viable` region pairs, a third of them the same: similarities of 15
// digits; `viable` 0 gives the -1 cells.
SpeciesComparison filledComparison(int m, int viable) {
    SpeciesComparison cmp;
    cmp.species = m;
    const auto cells = static_cast<std::size_t>(m) * static_cast<std::size_t>(m);
    cmp.same.assign(cells, viable / 3.0);
    cmp.viable.assign(cells, viable);
    return cmp;
}

std::uint64_t bytesOf(const LogLines& lines) {
    std::uint64_t bytes = 0;
    for (const std::string& line : lines) bytes += line.size() + 1;
    return bytes;
}

TEST(SimilarityOutputSize, BoundsTheWrittenLinesAndIsCloseToTheWidest) {
    const int regions = 40;
    const auto names = speciesNames(60);
    const std::uint64_t estimate = similarityOutputBytes(names, regions);
    for (const SimilarityForm form : {SimilarityForm::Similarity, SimilarityForm::Dissimilarity}) {
        // The widest cells there can be: 15-digit similarities, counts of four digits.
        const std::uint64_t widest = bytesOf(similarityLines(filledComparison(60, 1599), names, form));
        EXPECT_LE(widest, estimate);
        EXPECT_GE(static_cast<double>(widest), 0.85 * static_cast<double>(estimate));
        EXPECT_LE(bytesOf(similarityLines(filledComparison(60, 0), names, form)), estimate);
    }
}

TEST(SimilarityOutputSize, GrowsWithTheSquareOfTheSpecies) {
    const std::uint64_t small = similarityOutputBytes(speciesNames(1000), 45);
    const std::uint64_t large = similarityOutputBytes(speciesNames(10000), 45);
    EXPECT_GT(large, 99 * small);
    EXPECT_LT(large, 101 * small);
    // Whole-database shapes: the European one is over the limit, a county-sized one far under it.
    EXPECT_GT(similarityOutputBytes(speciesNames(12000), 45), kSimilarityOutputLimit);
    EXPECT_LT(similarityOutputBytes(speciesNames(30), 3142), 1'000'000u);
    EXPECT_EQ(similarityOutputBytes({}, 0), similarityOutputBytes({}, 10));
}

TEST(SimilarityOutputSize, OnlyARunThatWritesTheOutputIsOversized) {
    const auto names = speciesNames(300);
    const std::uint64_t bytes = similarityOutputBytes(names, 20);
    SettingValues settings;
    EXPECT_FALSE(oversizedSimilarityOutput(names, 20, settings, 1000));  // start-up value: none
    settings.set(Setting::SimOutput, "distance");
    EXPECT_EQ(oversizedSimilarityOutput(names, 20, settings, 1000), bytes);
    EXPECT_FALSE(oversizedSimilarityOutput(names, 20, settings, bytes));  // the limit itself is allowed
    settings.set(Setting::SimOutput, "similarity");
    settings.set(Setting::ExamineWeight, "1");  // its passes write no matrix
    EXPECT_FALSE(oversizedSimilarityOutput(names, 20, settings, 1000));
}

TEST(SimilarityOutputSize, SizeTextsInDecimalUnits) {
    EXPECT_EQ(sizeText(0), "0 B");
    EXPECT_EQ(sizeText(999), "999 B");
    EXPECT_EQ(sizeText(1000), "1.0 kB");
    EXPECT_EQ(sizeText(12'549), "12.5 kB");
    EXPECT_EQ(sizeText(999'960), "1.0 MB");
    EXPECT_EQ(sizeText(3'900'000'000), "3.9 GB");
    EXPECT_EQ(sizeText(2'000'000'000'000'000'000u), "2000.0 PB");
    EXPECT_EQ(similaritySizeText(12000, 3'900'000'000),
              "the similarity output of 12000 species is two 12000 x 12000 matrices: up to 3.9 GB of log");
}

}  // namespace
}  // namespace el::engine
