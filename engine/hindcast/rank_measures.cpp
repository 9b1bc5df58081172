#include "engine/hindcast/rank_measures.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace el::engine {

std::vector<double> averageRanks(const std::vector<double>& values) {
    std::vector<std::size_t> order(values.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return values[a] < values[b]; });
    std::vector<double> rank(values.size());
    for (std::size_t i = 0; i < order.size();) {
        std::size_t j = i;
        while (j + 1 < order.size() && values[order[j + 1]] == values[order[i]]) ++j;
        const double shared = (static_cast<double>(i + 1) + static_cast<double>(j + 1)) / 2;
        for (std::size_t t = i; t <= j; ++t) rank[order[t]] = shared;
        i = j + 1;
    }
    return rank;
}

std::optional<double> pearson(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = std::min(x.size(), y.size());
    if (n < 2) return std::nullopt;
    const double meanX = std::accumulate(x.begin(), x.begin() + static_cast<long>(n), 0.0) / static_cast<double>(n);
    const double meanY = std::accumulate(y.begin(), y.begin() + static_cast<long>(n), 0.0) / static_cast<double>(n);
    double sxy = 0, sxx = 0, syy = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = x[i] - meanX, dy = y[i] - meanY;
        sxy += dx * dy;
        sxx += dx * dx;
        syy += dy * dy;
    }
    if (!(sxx > 0) || !(syy > 0)) return std::nullopt;
    const double r = sxy / std::sqrt(sxx * syy);
    return std::clamp(r, -1.0, 1.0);
}

std::optional<double> spearman(const std::vector<double>& x, const std::vector<double>& y) {
    if (std::min(x.size(), y.size()) < 3) return std::nullopt;
    return pearson(averageRanks(x), averageRanks(y));
}

std::optional<double> orderedPairShare(const std::vector<double>& first, const std::vector<double>& second) {
    if (first.empty() || second.empty()) return std::nullopt;
    double wins = 0;
    for (double a : first)
        for (double b : second) wins += a < b ? 1.0 : a == b ? 0.5 : 0.0;
    return wins / (static_cast<double>(first.size()) * static_cast<double>(second.size()));
}

std::optional<double> meanAbsoluteDifference(const std::vector<double>& x, const std::vector<double>& y) {
    const std::size_t n = std::min(x.size(), y.size());
    if (n == 0) return std::nullopt;
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += std::fabs(x[i] - y[i]);
    return sum / static_cast<double>(n);
}

}  // namespace el::engine
