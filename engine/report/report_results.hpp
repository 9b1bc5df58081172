#pragma once
// How the results of a power pass are printed: region counts after exclusion, the score
// table, the per-species report blocks, the closing note, the adjusted matrix, and the
// weight-test file lines of an examine-weight run.

#include <string>
#include <string_view>
#include <vector>

#include "engine/kernels/square_matrix.hpp"
#include "engine/model/prediction.hpp"
#include "engine/report/report_header.hpp"

namespace el::engine {

LogLines regionCountLines(int allRegions, int usedRegions);

// Rows in `order` (used positions): name, score, trial mean, trial SD.
LogLines scoreTableLines(const std::vector<std::string>& usedNames, const std::vector<double>& score,
                         const std::vector<int>& order, const std::vector<double>& eigenmean,
                         const std::vector<double>& eigensd);

LogLines correlationHeadLines();

// One table row of a species block: `value` is the predicted date (predictable) or the
// region score (not predictable), `sd` the SD column (target species only).
struct BlockRow {
    std::string region;
    std::string status;
    double value = 0;
    std::string actual;
    double sd = 0;
};

struct SpeciesBlock {
    std::string name;
    bool isTarget = false;
    SpeciesFit fit;
    double averageSd = 0;  // scale * vectorshift
    std::vector<BlockRow> rows;
};

LogLines speciesBlockLines(const SpeciesBlock& block);

// The line "Predicted infestation date = a x region score + b" of a species block.
std::string predictionLineText(const SpeciesFit& fit);

LogLines closingNoteLines();

// The filled early-late matrix with rows and columns in score order, joined by ",".
LogLines adjustedMatrixLines(const SquareMatrix& M, const std::vector<std::string>& usedNames,
                             const std::vector<int>& order);

// The column titles that start every summary line of the weight-test file.
inline constexpr std::string_view kWeightTestTitles =
    "Species, power for similarity,  power for number of sanples, correlation coefficient for training region, "
    "those in validation region, those in whole data (training & validation),";

std::string weightTestHeader(const std::string& dataFileName, const std::string& calculationDate);
std::string weightTestLine(const std::string& target, double p1, double p2, const SpeciesFit& fit);
std::string weightTestCaption(const std::string& target, double p1, double p2, const SpeciesFit& fit);

}  // namespace el::engine
