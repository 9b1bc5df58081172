#include "engine/kernels/relations.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "base/work_pool.hpp"
#include "engine/kernels/bit_count.hpp"
#include "engine/kernels/status_ranks.hpp"

namespace el::engine {
namespace {

// The codes of region i to regions from..from+count-1 for species s.
void rowCodes(const SpeciesCodes& codes, int s, int i, int from, std::size_t count, std::uint8_t* out) {
    const std::int32_t* key = codes.keys(s);
    const std::uint8_t* kind = codes.kinds(s);
    const std::int32_t keyI = key[i];
    const std::uint8_t partnersI = codes.partnersOf(s)[i];
    for (std::size_t t = 0; t < count; ++t)
        out[t] = static_cast<std::uint8_t>(pairCode(keyI, partnersI, key[static_cast<std::size_t>(from) + t],
                                                    kind[static_cast<std::size_t>(from) + t]));
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
    const SpeciesCodes codes = speciesCodes(status);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        int* early = counts.hayai.row(i);
        int* same = counts.onaji.row(i);
        int* late = counts.osoi.row(i);
        for (int s = 0; s < status.species; ++s) {
            rowCodes(codes, s, i, 0, row.size(), row.data());
            for (int j = 0; j < n; ++j) {
                early[j] += row[static_cast<std::size_t>(j)] == 1;
                same[j] += row[static_cast<std::size_t>(j)] == 2;
                late[j] += row[static_cast<std::size_t>(j)] == 3;
            }
        }
    }
    return counts;
}

void addRegionViable(const SpeciesCodes& codes, int s, std::vector<int>& count) {
    // A region's related partners for one species depend only on how many regions hold each
    // kind: a date relates to dates and "NotYetArrived", and so on (itself included).
    const std::uint8_t* kind = codes.kinds(s);
    const std::uint8_t* partners = codes.partnersOf(s);
    int ofKind[8] = {};
    for (int i = 0; i < codes.regions; ++i) ++ofKind[kind[i]];
    for (int i = 0; i < codes.regions; ++i) {
        const std::uint8_t p = partners[i];
        count[static_cast<std::size_t>(i)] += ((p & kKindDate) ? ofKind[kKindDate] : 0) +
                                              ((p & kKindArrived) ? ofKind[kKindArrived] : 0) +
                                              ((p & kKindNotYet) ? ofKind[kKindNotYet] : 0);
    }
}

std::vector<int> regionViable(const SpeciesCodes& codes, int target) {
    std::vector<int> count(static_cast<std::size_t>(codes.regions), 0);
    for (int s = 0; s < codes.species; ++s)
        if (s != target) addRegionViable(codes, s, count);
    return count;
}

std::vector<int> regionViable(const StatusMatrix& status, int target) {
    return regionViable(speciesCodes(status), target);
}

namespace {

// Adds one species' share to row i of M's sums and of W: the codes of the row's pairs and
// the species' weight. Species outside, regions inside: every cell still sums its species
// in order.
void addSpecies(const std::uint8_t* code, double weight, double* m, double* w, int n) {
    for (int j = 0; j < n; ++j) {
        const bool related = code[j] > 0;
        m[j] += related ? weight * code[j] : 0.0;
        w[j] += related ? weight : 0.0;
    }
}

// M := sums / weights where the weights are positive, else 0.
void finishRow(double* m, const double* w, int n) {
    for (int j = 0; j < n; ++j) m[j] = w[j] > 0 ? m[j] / w[j] : 0;
}

}  // namespace

EarlyLateMatrix buildEarlyLateMatrix(const StatusMatrix& status, const std::vector<double>& weight, int target) {
    const SpeciesCodes codes = speciesCodes(status);
    const int n = codes.regions;
    EarlyLateMatrix out{SquareMatrix(n), SquareMatrix(n)};
    std::vector<std::uint8_t> row(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        for (int s = 0; s < codes.species; ++s) {
            if (s == target) continue;
            rowCodes(codes, s, i, 0, row.size(), row.data());
            addSpecies(row.data(), weight[static_cast<std::size_t>(s)], out.M.row(i), out.W.row(i), n);
        }
        finishRow(out.M.row(i), out.W.row(i), n);
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
