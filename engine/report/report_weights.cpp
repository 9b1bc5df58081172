#include "engine/report/report_weights.hpp"

#include <cmath>

#include "base/numtext.hpp"

namespace el::engine {
namespace {

std::string matrixHeader(const std::vector<std::string>& names) {
    std::string line = "  ";
    for (const auto& name : names) line += ", " + name;
    return line;
}

}  // namespace

LogLines weightLines(const SpeciesWeights& weights, const std::vector<std::string>& names,
                     const std::string& targetText) {
    LogLines lines;
    if (weights.mode == WeightMode::Target) {
        lines = {" ", "Target species " + targetText, "Species, weight by similarity"};
        for (std::size_t s = 0; s < names.size(); ++s) lines.push_back(names[s] + ", " + strnum(weights.weight[s]));
    } else if (weights.mode == WeightMode::Automatic) {
        lines = {" ", "Species, log(probability to obtain same data by resumpling)"};
        for (std::size_t s = 0; s < names.size(); ++s)
            lines.push_back(weights.viable[s] ? names[s] + ", " + strnum(std::log(weights.weight[s]))
                                              : names[s] + ", no viable pair");
    }
    return lines;
}

LogLines similarityLines(const SpeciesComparison& cmp, const std::vector<std::string>& names, SimilarityForm form) {
    const int m = cmp.species;
    LogLines lines{" ", form == SimilarityForm::Dissimilarity
                            ? "Dissimilarity:  1-similarity(number of same value/number of all elements)"
                            : "Similarity: number of same value/number of all elements"};
    lines.push_back(matrixHeader(names));
    for (int r = 0; r < m; ++r) {
        std::string line = names[static_cast<std::size_t>(r)];
        for (int c = 0; c < m; ++c) {
            double value = -1;
            if (cmp.viablepairs(r, c) > 0) {
                const double similarity = cmp.samepairs(r, c) / cmp.viablepairs(r, c);
                value = form == SimilarityForm::Dissimilarity ? 1 - similarity : similarity;
            }
            line += ", " + strnum(value);
        }
        lines.push_back(line);
    }
    lines.push_back(" ");
    lines.push_back("Number of viable pairs in early-late relation）");
    lines.push_back(matrixHeader(names));
    for (int r = 0; r < m; ++r) {
        std::string line = names[static_cast<std::size_t>(r)];
        for (int c = 0; c < m; ++c) line += ", " + strnum(cmp.viablepairs(r, c));
        lines.push_back(line);
    }
    return lines;
}

}  // namespace el::engine
