#include "engine/trials/trials.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <unordered_map>
#include <utility>

#include "base/numtext.hpp"
#include "engine/trials/trial_tables.hpp"

namespace el::engine {
namespace {

constexpr double kGridStep = 0.02;
constexpr double kGridTop = 0.98;

std::vector<GridPoint> buildGrid() {
    std::vector<GridPoint> grid;
    // The bounds are met through repeated addition, so rounding decides the last points;
    // this walk visits the 1128 points with x + y <= 48 (in steps of 0.02).
    for (double pe = kGridStep; pe <= kGridTop; pe += kGridStep) {
        for (double ps = kGridStep; ps <= kGridTop; ps += kGridStep) {
            const double pl = (1 - pe) - ps;
            if (pl < kGridStep) break;
            grid.push_back({pe, ps});
        }
    }
    return grid;
}

// ln(q!) as the running sum ln(1) + ... + ln(q), for q = 0..top.
std::vector<double> logFactorials(int top) {
    std::vector<double> table(static_cast<std::size_t>(top) + 1, 0.0);
    for (int q = 1; q <= top; ++q)
        table[static_cast<std::size_t>(q)] = table[static_cast<std::size_t>(q - 1)] + std::log(static_cast<double>(q));
    return table;
}

struct GridLogs {
    double lnPe, lnPs, lnPl;
};

// The cumulative posterior F(1..K) of the grid for one triple of counts.
std::vector<double> cumulativePosterior(int a, int b, int c, const std::vector<GridLogs>& logs,
                                        const std::vector<double>& lnFact) {
    const std::size_t k = logs.size();
    std::vector<double> table(k);
    const double lnA = lnFact[static_cast<std::size_t>(a)], lnB = lnFact[static_cast<std::size_t>(b)],
                 lnC = lnFact[static_cast<std::size_t>(c)];
    const double lnAll =
        lnFact[static_cast<std::size_t>(a) + static_cast<std::size_t>(b) + static_cast<std::size_t>(c)];
    double total = 0;
    double largest = -HUGE_VAL;
    for (std::size_t g = 0; g < k; ++g) {
        const double exponent =
            (a * logs[g].lnPe - lnA) + lnAll + (b * logs[g].lnPs - lnB) + (c * logs[g].lnPl - lnC);
        table[g] = exponent;
        largest = std::max(largest, exponent);
    }
    for (std::size_t g = 0; g < k; ++g) total += (table[g] = std::exp(table[g]));
    if (!(total > 0)) {
        // Tens of thousands of species underflow every point; scaling by the largest
        // term keeps the posterior's shape instead of dividing zero by zero.
        total = 0;
        for (std::size_t g = 0; g < k; ++g) {
            const double exponent =
                (a * logs[g].lnPe - lnA) + lnAll + (b * logs[g].lnPs - lnB) + (c * logs[g].lnPl - lnC);
            total += (table[g] = std::exp(exponent - largest));
        }
    }
    double running = 0;
    for (std::size_t g = 0; g < k; ++g) {
        running += table[g] / total;
        table[g] = running;
    }
    return table;
}

// Numbers the distinct count triples in the order they are first met: a flat index when the
// counts are small (the usual case: each species adds at most one to a pair), a hash otherwise.
class TripleIndex {
public:
    explicit TripleIndex(int largest) : side_(static_cast<std::size_t>(largest) + 1) {
        if (side_ * side_ * side_ <= kDenseLimit) dense_.assign(side_ * side_ * side_, -1);
    }
    // The number of (a, b, c) and whether it is new.
    std::pair<int, bool> find(int a, int b, int c) {
        const std::size_t key =
            (static_cast<std::size_t>(a) * side_ + static_cast<std::size_t>(b)) * side_ + static_cast<std::size_t>(c);
        int* slot = nullptr;
        if (!dense_.empty()) slot = &dense_[key];
        else slot = &sparse_.try_emplace(key, -1).first->second;
        if (*slot >= 0) return {*slot, false};
        *slot = next_++;
        return {*slot, true};
    }

private:
    static constexpr std::size_t kDenseLimit = std::size_t{1} << 22;
    std::size_t side_;
    std::vector<int> dense_;
    std::unordered_map<std::size_t, int> sparse_;
    int next_ = 0;
};

// One cumulative table per distinct (hayai, onaji, osoi) triple; returns the table of every pair.
std::vector<std::uint32_t> addPairTables(const EarlyLateCounts& counts, const std::vector<GridLogs>& logs,
                                         TrialTables& out) {
    const int n = counts.regions();
    int largest = 0;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            largest = std::max(largest, counts.hayai(i, j) + counts.onaji(i, j) + counts.osoi(i, j));
    const auto lnFact = logFactorials(largest);

    std::vector<std::uint32_t> tableOfPair(static_cast<std::size_t>(n) * static_cast<std::size_t>(n));
    TripleIndex known(largest);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const int a = counts.hayai(i, j), b = counts.onaji(i, j), c = counts.osoi(i, j);
            const auto [number, fresh] = known.find(a, b, c);
            if (fresh) out.search.add(cumulativePosterior(a, b, c, logs, lnFact));
            tableOfPair[static_cast<std::size_t>(i) * static_cast<std::size_t>(n) + static_cast<std::size_t>(j)] =
                static_cast<std::uint32_t>(number);
        }
    }
    return tableOfPair;
}

// About this many pairs per block: 96 KB of draws and 192 KB of cells.
constexpr std::size_t kBlockPairs = 24576;

// Groups the pairs of every block by table (a counting sort, tables in the order first met).
void orderBlocks(const std::vector<std::uint32_t>& tableOfPair, int regions, TrialTables& out) {
    const auto n = static_cast<std::size_t>(regions);
    out.blockPairs = std::max<std::size_t>(1, kBlockPairs / std::max<std::size_t>(n, 1)) * n;
    out.order.resize(tableOfPair.size());
    out.firstRun.assign(1, 0);
    std::vector<std::uint32_t> slot(out.search.tables(), 0), touched;
    for (std::size_t begin = 0; begin < tableOfPair.size(); begin += out.blockPairs) {
        const std::size_t end = std::min(begin + out.blockPairs, tableOfPair.size());
        touched.clear();
        for (std::size_t p = begin; p < end; ++p)
            if (slot[tableOfPair[p]]++ == 0) touched.push_back(tableOfPair[p]);
        std::uint32_t next = 0;
        for (std::uint32_t table : touched) {
            out.runs.push_back({table, slot[table]});
            const std::uint32_t count = slot[table];
            slot[table] = next;
            next += count;
        }
        for (std::size_t p = begin; p < end; ++p)
            out.order[begin + slot[tableOfPair[p]]++] = static_cast<std::uint32_t>(p - begin);
        for (std::uint32_t table : touched) slot[table] = 0;
        out.firstRun.push_back(out.runs.size());
    }
}

}  // namespace

const std::vector<GridPoint>& probabilityGrid() {
    static const std::vector<GridPoint> grid = buildGrid();
    return grid;
}

TrialTables trialTables(const EarlyLateCounts& counts) {
    TrialTables tables;
    tables.regions = counts.regions();
    std::vector<GridLogs> logs;
    const auto& grid = probabilityGrid();
    logs.reserve(grid.size());
    tables.entry.reserve(grid.size());
    for (const auto& point : grid) {
        const double pl = (1 - point.pe) - point.ps;
        logs.push_back({std::log(point.pe), std::log(point.ps), std::log(pl)});
        tables.entry.push_back((2 * point.ps + point.pe) + 3 * pl);
    }
    orderBlocks(addPairTables(counts, logs, tables), tables.regions, tables);
    return tables;
}

void TrialTables::pickBlock(std::size_t b, const float* draws, double* cells) const {
    const std::uint32_t* place = order.data() + b * blockPairs;
    for (std::size_t r = firstRun[b]; r < firstRun[b + 1]; ++r) {
        const CumulativeSearch::Table table = search.table(runs[r].table);
        for (const std::uint32_t* end = place + runs[r].pairs; place < end; ++place)
            cells[*place] = entry[table.firstReaching(draws[*place])];
    }
}

TrialStats trialStats(const std::vector<double>& components, int regions, int trials) {
    const auto n = static_cast<std::size_t>(regions);
    TrialStats stats;
    stats.eigenmean.assign(n, 0.0);
    stats.eigensd.assign(n, 0.0);
    if (trials < 1 || n == 0) return stats;
    for (std::size_t i = 0; i < n; ++i) {
        double sum = 0;
        for (int t = 0; t < trials; ++t) sum += components[static_cast<std::size_t>(t) * n + i];
        const double mean = sum / trials;
        double squares = 0;
        for (int t = 0; t < trials; ++t) {
            const double deviation = components[static_cast<std::size_t>(t) * n + i] - mean;
            squares += deviation * deviation;
        }
        stats.eigenmean[i] = mean;
        stats.eigensd[i] = std::sqrt(squares / trials);
    }
    double sdSum = 0;
    for (double sd : stats.eigensd) sdSum += sd;
    stats.vectorshift = sdSum / regions;
    return stats;
}

TrialStats reliability(const EarlyLateCounts& counts, int trials, TrialRandom& random, PowerIteration& power,
                       Feedback& feedback, int threads) {
    const TrialTables tables = trialTables(counts);
    const int n = tables.regions;
    if (threads > 1 && trials > 1 && n > 0) return reliabilityOnThreads(tables, trials, random, threads, feedback);

    const auto regions = static_cast<std::size_t>(n);
    std::vector<double> components(regions * static_cast<std::size_t>(std::max(trials, 0)));  // [t][i]
    SquareMatrix trialMatrix(n);
    std::vector<double> vector;
    std::vector<float> draws(tables.blockPairs);  // one block's, drawn in a sweep
    for (int t = 1; t <= trials; ++t) {
        feedback.caption(Label::RunProgress, "reliability trial" + strnum(t));
        feedback.checkpoint();
        double* cell = trialMatrix.cells().data();
        for (std::size_t b = 0; b < tables.blocks(); ++b) {
            const std::size_t begin = b * tables.blockPairs;
            random.fill(draws.data(), std::min(tables.blockPairs, tables.pairs() - begin));
            tables.pickBlock(b, draws.data(), cell + begin);
        }
        power.eigenvector(trialMatrix, vector, feedback, true);  // entries from 1.1 to 2.94
        std::copy(vector.begin(), vector.end(),
                  components.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(t - 1) * regions));
        feedback.progress(ProgressStage::Trials, t, trials);
    }
    return trialStats(components, n, trials);
}

}  // namespace el::engine
