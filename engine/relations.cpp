#include "engine/relations.hpp"

#include <cstdint>

namespace el::engine {
namespace {

// The codes of one species for the region pair (i, j), for every species in turn.
void pairCodes(const StatusMatrix& status, int i, int j, std::vector<std::uint8_t>& codes) {
    for (int s = 0; s < status.species; ++s)
        codes[s] = static_cast<std::uint8_t>(relationCode(status.statusAt(i, s), status.statusAt(j, s)));
}

}  // namespace

int relationCode(const Status& a, const Status& b) {
    switch (a.kind) {
        case StatusKind::Date:
            if (b.kind == StatusKind::Date) return a.date < b.date ? 1 : (a.date == b.date ? 2 : 3);
            return b.kind == StatusKind::NotYetArrived ? 1 : 0;
        case StatusKind::Arrived:
            return b.kind == StatusKind::NotYetArrived ? 1 : 0;
        case StatusKind::NotYetArrived:
            return (b.kind == StatusKind::Date || b.kind == StatusKind::Arrived) ? 3 : 0;
        case StatusKind::Unknown:
            return 0;
    }
    return 0;
}

EarlyLateCounts countRelations(const StatusMatrix& status) {
    const int n = status.regions;
    EarlyLateCounts counts{CountMatrix(n), CountMatrix(n), CountMatrix(n)};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            for (int s = 0; s < status.species; ++s) {
                const int code = relationCode(status.statusAt(i, s), status.statusAt(j, s));
                if (code == 1) ++counts.hayai(i, j);
                else if (code == 2) ++counts.onaji(i, j);
                else if (code == 3) ++counts.osoi(i, j);
            }
    return counts;
}

SpeciesComparison compareSpecies(const StatusMatrix& status) {
    const int m = status.species;
    SpeciesComparison cmp;
    cmp.species = m;
    std::vector<long long> same(static_cast<std::size_t>(m) * m, 0), viable(same.size(), 0);
    std::vector<std::uint8_t> codes(m);
    for (int i = 0; i + 1 < status.regions; ++i)
        for (int j = i + 1; j < status.regions; ++j) {
            pairCodes(status, i, j, codes);
            for (int r = 0; r < m; ++r) {
                if (codes[r] == 0) continue;
                for (int c = 0; c < m; ++c) {
                    if (codes[c] == 0) continue;
                    const std::size_t at = static_cast<std::size_t>(r) * m + c;
                    ++viable[at];
                    if (codes[r] == codes[c]) ++same[at];
                }
            }
        }
    cmp.same.assign(same.begin(), same.end());
    cmp.viable.reserve(viable.size());
    for (long long v : viable) cmp.viable.push_back(static_cast<int>(v));
    return cmp;
}

std::vector<int> regionViable(const StatusMatrix& status, int target) {
    std::vector<int> count(status.regions, 0);
    for (int i = 0; i < status.regions; ++i)
        for (int j = 0; j < status.regions; ++j)
            for (int s = 0; s < status.species; ++s)
                if (s != target && relationCode(status.statusAt(i, s), status.statusAt(j, s)) > 0) ++count[i];
    return count;
}

EarlyLateMatrix buildEarlyLateMatrix(const StatusMatrix& status, const std::vector<double>& weight, int target) {
    const int n = status.regions;
    EarlyLateMatrix out{SquareMatrix(n), SquareMatrix(n)};
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double m = 0, w = 0;
            for (int s = 0; s < status.species; ++s) {
                if (s == target) continue;
                const int code = relationCode(status.statusAt(i, s), status.statusAt(j, s));
                if (code > 0) {
                    m += weight[s] * code;
                    w += weight[s];
                }
            }
            out.M(i, j) = w > 0 ? m / w : 0;
            out.W(i, j) = w;
        }
    return out;
}

FillMode fillModeOf(const std::string& setting) {
    return setting == "row" ? FillMode::RowAverage : FillMode::MatrixAverage;
}

void fillMissingCells(SquareMatrix& M, const SquareMatrix& W, FillMode mode) {
    const int n = M.size();
    double total = 0;
    long long known = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            if (W(i, j) > 0) {
                total += M(i, j);
                ++known;
            }
    const double matrixAverage = known > 0 ? total / static_cast<double>(known) : 0;
    for (int i = 0; i < n; ++i) {
        double rowTotal = 0;
        int rowKnown = 0;
        for (int j = 0; j < n; ++j)
            if (W(i, j) > 0) {
                rowTotal += M(i, j);
                ++rowKnown;
            }
        // A row without known cells cannot pass the connectivity test; fall back to the
        // matrix average rather than divide by zero.
        const double rowAverage = rowKnown > 0 ? rowTotal / rowKnown : matrixAverage;
        const double fill = mode == FillMode::MatrixAverage ? matrixAverage : rowAverage;
        for (int j = 0; j < n; ++j)
            if (M(i, j) == 0) M(i, j) = fill;
    }
}

}  // namespace el::engine
