// The fast paths of the engine against plain readings of the same steps, on small random
// cases: they must give identical results, not merely close ones.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>

#include "base/work_pool.hpp"
#include "engine/kernels/cumulative_search.hpp"
#include "engine/kernels/early_late_rows.hpp"
#include "engine/kernels/eigenvector.hpp"
#include "engine/kernels/relations.hpp"
#include "engine/kernels/species_pairs.hpp"
#include "engine/pass/packed_matrix.hpp"
#include "engine/pass/pass_frames.hpp"
#include "engine/pass/region_score.hpp"
#include "engine/pass/species_comparisons.hpp"
#include "tests/support/recording_host.hpp"

namespace el::engine {
namespace {

// ---- inverse-CDF search ---------------------------------------------------------------

// Cumulative tables of the shapes the trials produce: spread out, peaked on a few points,
// with flat stretches, and ending a little short of or above 1.
std::vector<std::vector<double>> cumulativeTables() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::vector<double>> tables;
    for (int shape = 0; shape < 6; ++shape) {
        std::vector<double> mass(shape == 5 ? 1 : 1128);
        for (std::size_t k = 0; k < mass.size(); ++k) {
            const double x = static_cast<double>(k) / static_cast<double>(mass.size());
            if (shape == 0) mass[k] = 1;
            else if (shape == 1) mass[k] = std::exp(-std::pow((x - 0.3) * 60, 2));  // one narrow peak
            else if (shape == 2) mass[k] = k % 97 == 0 ? unit(random) : 0;  // isolated points
            else mass[k] = unit(random);
        }
        double total = 0;
        for (double m : mass) total += m;
        std::vector<double> f;
        double running = 0;
        for (double m : mass) f.push_back(running += m / total);
        if (shape == 3) f.back() = 1 - 1e-13;  // rounding left the last value short of 1
        if (shape == 4) f.back() = 1 + 1e-13;
        tables.push_back(std::move(f));
    }
    return tables;
}

TEST(CumulativeSearch, FindsTheSamePointAsTheLinearScanOnEveryBoundary) {
    const float belowOne = std::nextafter(1.0f, 0.0f);
    for (const auto& f : cumulativeTables()) {
        const CumulativeSearch search(f);
        std::vector<double> draws{0.0, static_cast<double>(belowOne), 0.5, 1.0, -0.25, 1.5};
        for (double value : f) {
            draws.push_back(value);
            draws.push_back(std::nextafter(value, 0.0));
            draws.push_back(std::nextafter(value, 2.0));
            // The nearest single-precision draws on both sides, as the generator makes them.
            const auto asFloat = static_cast<float>(value);
            draws.push_back(asFloat);
            draws.push_back(std::nextafter(asFloat, 0.0f));
            draws.push_back(std::nextafter(asFloat, 2.0f));
        }
        for (int b = 0; b <= 2048; ++b) {  // bucket edges of the guide table
            const double edge = b / 2048.0;
            draws.insert(draws.end(), {edge, std::nextafter(edge, 0.0), std::nextafter(edge, 2.0)});
        }
        for (double r : draws)
            ASSERT_EQ(search.firstReaching(r), firstReachingLinear(f, r)) << "r = " << r << ", size " << f.size();
    }
}

// Shared tables per count triple: the golden logs of runs with reliability trials hold their
// results number by number.

// ---- relations from compact codes -----------------------------------------------------

// Random statuses with repeated dates, every keyword, and a few regions without any date.
StatusMatrix randomStatus(int regions, int species, unsigned seed) {
    std::mt19937 random(seed);
    StatusMatrix st;
    st.regions = regions;
    st.species = species;
    for (int i = 0; i < regions * species; ++i) {
        const auto roll = static_cast<unsigned>(random() % 10);
        Status s;
        if (roll < 5) s = {StatusKind::Date, 1990.0 + static_cast<double>(random() % 12)};
        else if (roll < 7) s = {StatusKind::NotYetArrived, 0};
        else if (roll < 8) s = {StatusKind::Arrived, 0};
        else s = {StatusKind::Unknown, 0};
        if (roll == 9 && i % 7 == 0) s = {StatusKind::Date, -0.0};  // -0 and 0 are the same date
        if (roll == 9 && i % 7 == 1) s = {StatusKind::Date, 0.0};
        st.cell.push_back(s);
    }
    return st;
}

TEST(Relations, CompactCodesGiveThePlainRelationOfEveryPair) {
    const StatusMatrix st = randomStatus(40, 6, 3);
    const SpeciesCodes codes = speciesCodes(st);
    for (int s = 0; s < st.species; ++s)
        for (int i = 0; i < st.regions; ++i)
            for (int j = 0; j < st.regions; ++j)
                ASSERT_EQ(pairCode(codes.keys(s)[i], codes.partnersOf(s)[i], codes.keys(s)[j], codes.kinds(s)[j]),
                          relationCode(st.statusAt(i, s), st.statusAt(j, s)))
                    << s << " " << i << " " << j;
}

// The unfilled matrix of the packed build, its rows cut between threads.
SquareMatrix packedMatrix(const StatusMatrix& st, const std::vector<double>& weight, int target, int threads,
                          KernelChoice choice) {
    const PackedCodes codes = packCodes(speciesCodes(st), threads);
    const auto counted = packedWeights(weight, target, codes.planes);
    SquareMatrix M(st.regions);
    forRanges(threads, static_cast<std::size_t>(st.regions), [&](std::size_t begin, std::size_t end) {
        buildPackedRows(codes, *counted, static_cast<int>(begin), static_cast<int>(end), M, {}, choice);
    });
    return M;
}

// What the weights read without the whole comparison (one species' column, the diagonal),
// counted directly and through the run's lazy comparisons, against the plain counts
// `same` and `viable` (species x species).
void expectColumnsOfThePlainCounts(const StatusMatrix& st, const std::vector<long long>& same,
                                   const std::vector<long long>& viable) {
    const auto m = static_cast<std::size_t>(st.species);
    auto codes = std::make_shared<const SpeciesCodes>(speciesCodes(st));
    test::RecordingHost host;
    SpeciesComparisons lazy(codes, 2);
    const PairCounts own = ownCounts(*codes);
    for (std::size_t t = 0; t < m; ++t) {
        const PairCounts direct = countsWith(*codes, static_cast<int>(t), 3, host);
        const PairCounts& kept = lazy.with(static_cast<int>(t), host);
        for (std::size_t s = 0; s < m; ++s) {
            const std::string at = std::to_string(st.regions) + ": " + std::to_string(s) + "," + std::to_string(t);
            ASSERT_EQ(direct.viable[s], viable[s * m + t]) << at;
            ASSERT_EQ(direct.same[s], static_cast<double>(same[s * m + t])) << at;
            ASSERT_EQ(kept.viable[s], direct.viable[s]) << at;
            ASSERT_EQ(kept.same[s], direct.same[s]) << at;
        }
        ASSERT_EQ(own.viable[t], viable[t * m + t]) << t;
        ASSERT_EQ(own.same[t], static_cast<double>(same[t * m + t])) << t;
    }
    EXPECT_EQ(lazy.own().viable, own.viable);
    const SpeciesComparison& whole = lazy.whole(host);
    EXPECT_EQ(whole.viable, std::vector<int>(viable.begin(), viable.end()));
}

TEST(Relations, CountsComparisonAndMatrixEqualThePlainLoops) {
    // 260 regions give more region pairs than one block of the species comparison holds;
    // 40 species fill more than one word of packed codes. Without a target and with a
    // species of weight 0 as well. Each on one thread and on three.
    for (const auto& [regions, species, target] :
         {std::tuple{260, 3, 2}, std::tuple{23, 9, -1}, std::tuple{1, 2, 1}, std::tuple{37, 40, 33}}) {
        const StatusMatrix st = randomStatus(regions, species, static_cast<unsigned>(regions));
        std::vector<double> weight;
        for (int s = 0; s < species; ++s) weight.push_back(s == 1 ? 0 : 0.25 + 0.37 * s);

        const EarlyLateCounts counts = countRelations(st);
        const SpeciesComparison cmp = compareSpecies(st, 3);
        const EarlyLateCounts fromCodes = countCodes(packCodes(speciesCodes(st), 2), 2);
        EXPECT_EQ(fromCodes.hayai.cells(), counts.hayai.cells());
        EXPECT_EQ(fromCodes.onaji.cells(), counts.onaji.cells());
        EXPECT_EQ(fromCodes.osoi.cells(), counts.osoi.cells());
        EXPECT_EQ(compareSpecies(st).same, cmp.same);
        const std::vector<int> viableOfRegion = regionViable(st, target);
        const EarlyLateMatrix el = buildEarlyLateMatrix(st, weight, target);
        for (const KernelChoice choice : {KernelChoice::Best, KernelChoice::Portable})
            for (const int threads : {1, 3})
                EXPECT_EQ(packedMatrix(st, weight, target, threads, choice).cells(), el.M.cells()) << regions;

        std::vector<long long> same(static_cast<std::size_t>(species * species)),
            viable(static_cast<std::size_t>(species * species));
        for (int i = 0; i < regions; ++i) {
            int related = 0;
            for (int j = 0; j < regions; ++j) {
                int h = 0, o = 0, l = 0;
                double m = 0, w = 0;
                for (int s = 0; s < species; ++s) {
                    const int code = relationCode(st.statusAt(i, s), st.statusAt(j, s));
                    h += code == 1, o += code == 2, l += code == 3;
                    if (s != target && code > 0) {
                        m += weight[static_cast<std::size_t>(s)] * code;
                        w += weight[static_cast<std::size_t>(s)];
                        ++related;  // a species of weight 0 still relates the regions
                    }
                    if (j <= i || code == 0) continue;
                    for (int c = 0; c < species; ++c) {
                        const int other = relationCode(st.statusAt(i, c), st.statusAt(j, c));
                        if (other == 0) continue;
                        ++viable[static_cast<std::size_t>(s * species + c)];
                        same[static_cast<std::size_t>(s * species + c)] += other == code;
                    }
                }
                ASSERT_EQ(counts.hayai(i, j), h);
                ASSERT_EQ(counts.onaji(i, j), o);
                ASSERT_EQ(counts.osoi(i, j), l);
                ASSERT_EQ(el.W(i, j), w);
                ASSERT_EQ(el.M(i, j), w > 0 ? m / w : 0);  // missing where no weighted species relates them
            }
            ASSERT_EQ(viableOfRegion[static_cast<std::size_t>(i)], related) << i;
        }
        for (int k = 0; k < species * species; ++k) {
            EXPECT_EQ(cmp.viable[static_cast<std::size_t>(k)], viable[static_cast<std::size_t>(k)])
                << regions << " " << k;
            EXPECT_EQ(cmp.same[static_cast<std::size_t>(k)], static_cast<double>(same[static_cast<std::size_t>(k)]))
                << regions << " " << k;
        }
        expectColumnsOfThePlainCounts(st, same, viable);
    }
}

// The rows and columns `keep` of M, in their order.
SquareMatrix keptCells(const SquareMatrix& M, const std::vector<int>& keep) {
    SquareMatrix out(static_cast<int>(keep.size()));
    for (int i = 0; i < out.size(); ++i)
        for (int j = 0; j < out.size(); ++j)
            out(i, j) = M(keep[static_cast<std::size_t>(i)], keep[static_cast<std::size_t>(j)]);
    return out;
}

// The packed path of a pass from the weights to the filled matrix (its frame bringing the
// connection matrix and the connectivity test) against the plain build, cut, test and fill:
// rows with and without known cells, both fill modes, all regions and some, one thread and three.
TEST(Relations, FramesAndFilledMatrixFromCodesEqualThePlainSteps) {
    int rowsWithoutKnownCells = 0;
    for (const auto& [regions, species, target] : {std::tuple{45, 4, 3}, std::tuple{70, 35, -1}}) {
        const StatusMatrix st = randomStatus(regions, species, static_cast<unsigned>(species));
        std::vector<double> weight;
        for (int s = 0; s < species; ++s) weight.push_back(s % 3 == 1 ? 0 : 0.5 + 0.11 * s);
        const EarlyLateMatrix el = buildEarlyLateMatrix(st, weight, target);
        const PackedCodes codes = packCodes(speciesCodes(st), 1);
        const PackedWeights counted = *packedWeights(weight, target, codes.planes);
        PassFrames frames(codes);
        std::vector<int> all(static_cast<std::size_t>(regions)), some;
        for (int k = 0; k < regions; ++k) {
            all[static_cast<std::size_t>(k)] = k;
            if (k % 3 != 1) some.push_back(k);
        }
        for (const auto& keep : {all, some}) {
            test::RecordingHost host;
            const SquareMatrix W = keptCells(el.W, keep);
            const auto frame = frames.frame(keep, counted, 2, host);
            EXPECT_EQ(frame->failedStart, testConnectivity(W, host).failedStart);
            rowsWithoutKnownCells += static_cast<int>(std::count(frame->rowKnown.begin(), frame->rowKnown.end(), 0));
            for (int i = 0; i < W.size(); ++i)
                for (int j = 0; j < W.size(); ++j) ASSERT_EQ(frame->links.at(i, j), W(i, j) > 0) << i << " " << j;
            for (const FillMode mode : {FillMode::RowAverage, FillMode::MatrixAverage})
                for (const int threads : {1, 3}) {
                    SquareMatrix want = keptCells(el.M, keep), got;
                    fillMissingCells(want, W, mode);
                    filledMatrix(*frame, counted, mode, threads, got);
                    EXPECT_EQ(got.cells(), want.cells()) << regions << " " << keep.size() << " " << threads;
                }
        }
        Feedback quiet;
        EXPECT_EQ(frames.frame(all, counted, 1, quiet).get(), frames.frame(all, counted, 1, quiet).get());  // made once
    }
    EXPECT_GT(rowsWithoutKnownCells, 0);
}

// ---- connectivity ---------------------------------------------------------------------

// The propagation as written out: y(i) = [sum over j of A(i, j) x(j) > 0], up to 1000 steps.
// Each step shows the start region's number on the progress label.
ConnectivityResult plainConnectivity(const SquareMatrix& W, std::vector<std::string>& captions) {
    const int n = W.size();
    ConnectivityResult result;
    for (int c = 0; c < n; ++c) {
        std::vector<int> x(static_cast<std::size_t>(n), 0);
        x[static_cast<std::size_t>(c)] = 1;
        int t = 1;
        for (; t <= 1000; ++t) {
            captions.push_back("Connectivity " + std::to_string(c + 1));
            std::vector<int> y(static_cast<std::size_t>(n), 0);
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    y[static_cast<std::size_t>(i)] += (W(i, j) > 0 ? 1 : 0) * x[static_cast<std::size_t>(j)];
            int sum = 0;
            for (int i = 0; i < n; ++i)
                sum += x[static_cast<std::size_t>(i)] = y[static_cast<std::size_t>(i)] > 0 ? 1 : 0;
            if (sum == n) break;
        }
        result.connectsteps.push_back(t);
        if (t >= 1000) {
            result.failedStart = c;
            break;
        }
    }
    return result;
}

// Symmetric graphs: random ones of every density, paths, bipartite ones (no region related
// to itself, so the reached sets alternate) and split ones.
std::vector<SquareMatrix> randomGraphs() {
    std::mt19937 random(5);
    std::vector<SquareMatrix> graphs;
    for (int round = 0; round < 60; ++round) {
        const int n = 1 + static_cast<int>(random() % 45);
        const int kind = round % 4;
        const double density = static_cast<double>(random() % 100) / 100.0;
        SquareMatrix W(n, 0.0);
        for (int i = 0; i < n; ++i)
            for (int j = i; j < n; ++j) {
                double value =
                    static_cast<double>(random() % 1000) / 1000.0 < density ? 0.5 : (random() % 3 == 0 ? -1.0 : 0.0);
                if (kind == 1) value = (j == i || j == i + 1) ? 1 : 0;                 // a path
                if (kind == 2) value = ((i + j) % 2 == 1 && value > 0) || j == i + 1 ? 1 : 0;  // bipartite
                if (kind == 3 && (i < n / 2) != (j < n / 2)) value = 0;                 // two groups
                W(i, j) = W(j, i) = value;
            }
        graphs.push_back(std::move(W));
    }
    return graphs;
}

TEST(Connectivity, BitSetsGiveThePlainStepsYieldsAndCaptions) {
    int failures = 0;
    for (const SquareMatrix& W : randomGraphs()) {
        test::RecordingHost host;
        const ConnectivityResult got = testConnectivity(W, host);
        std::vector<std::string> captions;
        const ConnectivityResult want = plainConnectivity(W, captions);
        ASSERT_EQ(got.connectsteps, want.connectsteps) << "n = " << W.size();
        ASSERT_EQ(got.failedStart, want.failedStart);
        EXPECT_EQ(host.captionsOf(Label::RunProgress), captions);
        EXPECT_EQ(host.yields, static_cast<long>(captions.size()));
        failures += want.failedStart.has_value();
    }
    EXPECT_GT(failures, 10);  // the graphs include enough split and bipartite ones
    EXPECT_LT(failures, 50);
}

// ---- power iteration ------------------------------------------------------------------

TEST(PowerIteration, BlockedProductsEqualThePlainIterationBitForBit) {
    std::mt19937 random(9);
    std::uniform_real_distribution<double> entry(1.1, 2.94);
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> got;  // reused, so it must shrink as well as grow
    for (int n : {1, 2, 3, 4, 5, 7, 8, 13, 101, 64, 2}) {
        SquareMatrix matrix(n);
        for (double& cell : matrix.cells()) cell = entry(random);

        std::vector<double> v(static_cast<std::size_t>(n), 0.0), u(static_cast<std::size_t>(n));
        v[0] = 1;
        int iterations = 0;
        for (int k = 1; k <= 1000000; ++k) {
            iterations = k;
            double length = 0;
            for (int i = 0; i < n; ++i) {
                double sum = 0;
                for (int j = 0; j < n; ++j) sum += matrix(i, j) * v[static_cast<std::size_t>(j)];
                u[static_cast<std::size_t>(i)] = sum;
                length += sum * sum;
            }
            length = std::sqrt(length);
            double change = 0;
            for (int i = 0; i < n; ++i)
                change += std::fabs((u[static_cast<std::size_t>(i)] /= length) - v[static_cast<std::size_t>(i)]);
            v = u;
            if (change / n < 1e-7) break;
        }
        double length = 0;
        for (double x : v) length += x * x;
        for (double& x : v) x /= std::sqrt(length);

        const PowerIterationOutcome plain = power.eigenvector(matrix, got, host);
        EXPECT_EQ(got, v) << "n = " << n;
        EXPECT_EQ(plain.iterations, iterations) << "n = " << n;
        EXPECT_TRUE(plain.converged) << "n = " << n;
        const PowerIterationOutcome quick = power.eigenvector(matrix, got, host, true);  // first product off column 0
        EXPECT_EQ(got, v) << "n = " << n;
        EXPECT_EQ(quick.iterations, iterations) << "n = " << n;
        EXPECT_TRUE(quick.converged) << "n = " << n;
    }
    EXPECT_EQ(host.yields, 22);  // one per eigenvector
}

TEST(PowerIteration, NoConvergenceOrNoProductStillGivesAVector) {
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v;
    // A swap (eigenvalues 1 and -1, of equal modulus) alternates (1,0) and (0,1); after the
    // even iteration limit the start is back, and the iteration says it never settled.
    SquareMatrix swap(2, 0.0);
    swap(0, 1) = swap(1, 0) = 1;
    const PowerIterationOutcome alternating = power.eigenvector(swap, v, host);
    EXPECT_EQ(v, (std::vector<double>{1, 0}));
    EXPECT_FALSE(alternating.converged);
    EXPECT_EQ(alternating.iterations, 1000000);
    const PowerIterationOutcome zero = power.eigenvector(SquareMatrix(3, 0.0), v, host);
    EXPECT_EQ(v, (std::vector<double>{1, 0, 0}));
    EXPECT_FALSE(zero.converged) << "a zero product is no eigenvector";
    EXPECT_EQ(zero.iterations, 1);
}

TEST(PowerIteration, SettlesOnAPositiveMatrixAndOnEmptyOrSingleCells) {
    test::RecordingHost host;
    PowerIteration power;
    std::vector<double> v;
    SquareMatrix m(2);
    m(0, 0) = 2, m(0, 1) = 1, m(1, 0) = 3, m(1, 1) = 2;  // score (1, sqrt 3) / 2
    const PowerIterationOutcome settled = power.eigenvector(m, v, host);
    EXPECT_TRUE(settled.converged);
    EXPECT_GT(settled.iterations, 1);
    EXPECT_LT(settled.iterations, 100);
    EXPECT_NEAR(v[1], std::sqrt(3.0) / 2, 1e-6);
    // A rotation by a quarter turn scaled by 2: eigenvalues 2i and -2i, of equal modulus;
    // after a stop that left it unsettled, the next call starts afresh.
    SquareMatrix rotation(2, 0.0);
    rotation(0, 1) = -2, rotation(1, 0) = 2;
    EXPECT_FALSE(power.eigenvector(rotation, v, host).converged);
    EXPECT_TRUE(power.eigenvector(m, v, host).converged);
    const PowerIterationOutcome single = power.eigenvector(SquareMatrix(1, 4.0), v, host);
    EXPECT_TRUE(single.converged);
    EXPECT_EQ(single.iterations, 1);
    EXPECT_EQ(v, std::vector<double>{1});
    const PowerIterationOutcome empty = power.eigenvector(SquareMatrix(0), v, host);
    EXPECT_TRUE(empty.converged);
    EXPECT_EQ(empty.iterations, 0);
}

}  // namespace
}  // namespace el::engine
