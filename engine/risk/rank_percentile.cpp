#include "engine/risk/rank_percentile.hpp"

#include "engine/hindcast/rank_measures.hpp"

namespace el::engine {

std::vector<double> rankPercentiles(const std::vector<std::optional<double>>& values) {
    std::vector<double> present;
    for (const auto& v : values)
        if (v) present.push_back(*v);
    const std::vector<double> ranks = averageRanks(present);
    const auto n = static_cast<double>(present.size());
    std::vector<double> out(values.size(), 0.5);
    std::size_t next = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (values[i]) out[i] = (ranks[next++] - 0.5) / n;
    return out;
}

}  // namespace el::engine
