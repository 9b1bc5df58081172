#include "engine/kernels/relations.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "base/work_pool.hpp"
#include "engine/kernels/bit_count.hpp"
#include "engine/kernels/status_ranks.hpp"

namespace el::engine {
namespace {

// Region pairs per block of the species comparison: the bit sets of one block stay in cache.
constexpr std::size_t kBlockWords = 512;
constexpr std::size_t kBlockPairs = kBlockWords * 64;

// Bit sets over the region pairs of one block: per species and code (1..3) the pairs with
// that code. Counting agreements becomes AND and population count over whole words.
class PairBlock {
public:
    explicit PairBlock(int species)
        : species_(species), bits_(static_cast<std::size_t>(species) * 3 * kBlockWords, 0),
          any_(static_cast<std::size_t>(species) * kBlockWords, 0) {}

    std::size_t room() const { return kBlockPairs - filled_; }

    // Appends `count` pairs of species s whose codes are given; every species must get the
    // same pairs before `advance` is called.
    void put(int s, const std::uint8_t* codes, std::size_t count) {
        std::uint64_t* b = bits_.data() + static_cast<std::size_t>(s) * 3 * kBlockWords;
        for (std::size_t t = 0; t < count; ++t) {
            const std::size_t p = filled_ + t;
            const std::uint64_t bit = std::uint64_t{1} << (p & 63);
            const std::size_t w = p >> 6;
            b[w] |= codes[t] == 1 ? bit : 0;
            b[kBlockWords + w] |= codes[t] == 2 ? bit : 0;
            b[2 * kBlockWords + w] |= codes[t] == 3 ? bit : 0;
        }
    }
    void advance(std::size_t count) { filled_ += count; }

    // Adds the block's agreements to `same` and `viable` (m x m) and empties the block.
    void flush(std::vector<long long>& same, std::vector<long long>& viable) {
        const std::size_t words = (filled_ + 63) / 64;
        const auto m = static_cast<std::size_t>(species_);
        for (std::size_t s = 0; s < m; ++s) {
            const std::uint64_t* b = bits_.data() + s * 3 * kBlockWords;
            std::uint64_t* a = any_.data() + s * kBlockWords;
            for (std::size_t w = 0; w < words; ++w) a[w] = b[w] | b[kBlockWords + w] | b[2 * kBlockWords + w];
        }
        for (std::size_t r = 0; r < m; ++r)
            for (std::size_t c = r; c < m; ++c) {
                const std::uint64_t* ar = any_.data() + r * kBlockWords;
                const std::uint64_t* ac = any_.data() + c * kBlockWords;
                const std::uint64_t* br = bits_.data() + r * 3 * kBlockWords;
                const std::uint64_t* bc = bits_.data() + c * 3 * kBlockWords;
                const long long both = countCommonBits(ar, ac, words);
                const long long agree = countCommonBits(br, bc, words) +
                                        countCommonBits(br + kBlockWords, bc + kBlockWords, words) +
                                        countCommonBits(br + 2 * kBlockWords, bc + 2 * kBlockWords, words);
                viable[r * m + c] += both;
                same[r * m + c] += agree;
                if (c != r) {
                    viable[c * m + r] += both;
                    same[c * m + r] += agree;
                }
            }
        std::fill(bits_.begin(), bits_.end(), 0);
        filled_ = 0;
    }

private:
    int species_;
    std::vector<std::uint64_t> bits_;  // [(s * 3 + code - 1) * kBlockWords + word]
    std::vector<std::uint64_t> any_;   // [s * kBlockWords + word], filled by flush
    std::size_t filled_ = 0;
};

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

// The agreements of the pairs i < j for the rows i = first, first + step, ...
void compareRows(const SpeciesCodes& codes, int first, int step, std::vector<long long>& same,
                 std::vector<long long>& viable) {
    const int m = codes.species;
    const int n = codes.regions;
    PairBlock block(m);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(n));
    // The pairs (i, j) of the rows in order, cut into blocks of whole words.
    for (int i = first; i + 1 < n; i += step)
        for (int j = i + 1; j < n;) {
            const std::size_t count = std::min(block.room(), static_cast<std::size_t>(n - j));
            for (int s = 0; s < m; ++s) {
                rowCodes(codes, s, i, j, count, row.data());
                block.put(s, row.data(), count);
            }
            block.advance(count);
            j += static_cast<int>(count);
            if (block.room() == 0) block.flush(same, viable);
        }
    block.flush(same, viable);
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

SpeciesComparison compareSpecies(const StatusMatrix& status, int threads) {
    const int m = status.species;
    const int n = status.regions;
    SpeciesComparison cmp;
    cmp.species = m;
    std::vector<long long> same(static_cast<std::size_t>(m) * static_cast<std::size_t>(m), 0), viable(same.size(), 0);
    if (m > 0) {
        const SpeciesCodes codes = speciesCodes(status);
        // Rows near the top hold more pairs i < j: interleaved rows give each thread its share.
        const int pieces = std::max(1, std::min(threads, n));
        std::vector<std::vector<long long>> partSame(static_cast<std::size_t>(pieces), same);
        std::vector<std::vector<long long>> partViable(static_cast<std::size_t>(pieces), viable);
        onThreads(pieces, [&](int t) {
            compareRows(codes, t, pieces, partSame[static_cast<std::size_t>(t)], partViable[static_cast<std::size_t>(t)]);
        });
        for (int t = 0; t < pieces; ++t)
            for (std::size_t k = 0; k < same.size(); ++k) {
                same[k] += partSame[static_cast<std::size_t>(t)][k];
                viable[k] += partViable[static_cast<std::size_t>(t)][k];
            }
    }
    cmp.same.assign(same.begin(), same.end());
    cmp.viable.reserve(viable.size());
    for (long long v : viable) cmp.viable.push_back(static_cast<int>(v));
    return cmp;
}

std::vector<int> regionViable(const StatusMatrix& status, int target) {
    // A region's related partners for one species depend only on how many regions hold each
    // kind: a date relates to dates and "NotYetArrived", and so on (itself included).
    std::vector<int> count(static_cast<std::size_t>(status.regions), 0);
    const SpeciesCodes codes = speciesCodes(status);
    for (int s = 0; s < status.species; ++s) {
        if (s == target) continue;
        const std::uint8_t* kind = codes.kinds(s);
        const std::uint8_t* partners = codes.partnersOf(s);
        int ofKind[8] = {};
        for (int i = 0; i < status.regions; ++i) ++ofKind[kind[i]];
        for (int i = 0; i < status.regions; ++i) {
            const std::uint8_t p = partners[i];
            count[static_cast<std::size_t>(i)] += ((p & kKindDate) ? ofKind[kKindDate] : 0) +
                                                  ((p & kKindArrived) ? ofKind[kKindArrived] : 0) +
                                                  ((p & kKindNotYet) ? ofKind[kKindNotYet] : 0);
        }
    }
    return count;
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
