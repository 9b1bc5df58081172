#include "engine/pass/weights.hpp"

#include <algorithm>
#include <cmath>

#include "base/numtext.hpp"

namespace el::engine {
namespace {

constexpr int kCells = 100000;

// ln(0..n) for whole numbers, made once per distribution: the binomial sums need the same
// logarithms 100000 times. Each caller keeps its own, so runs in separate threads share nothing.
std::vector<double> wholeLogs(int n) {
    std::vector<double> table(static_cast<std::size_t>(std::max(n, 0)) + 1, 0.0);
    for (std::size_t i = 1; i < table.size(); ++i) table[i] = std::log(static_cast<double>(i));
    return table;
}

double binomialWith(const std::vector<double>& ln, int n, int k, double p, Feedback& feedback) {
    feedback.checkpoint();
    if (p == 0) return 0;
    const double lp = std::log(p);
    const double lq = std::log(1 - p);
    double r = 0;
    // Left to right, as the terms were always summed; ln i - ln i cancels only in exact arithmetic.
    for (int i = 1; i <= k; ++i) r = lp + r + ln[static_cast<std::size_t>(i)] - ln[static_cast<std::size_t>(i)];
    for (int i = 1; i <= n - k; ++i) r = lq + r + ln[static_cast<std::size_t>(k + i)] - ln[static_cast<std::size_t>(i)];
    return std::exp(r);
}

// The normalised posterior of k successes in n trials on the cell midpoints.
std::vector<double> posterior(int n, int k, Feedback& feedback) {
    const std::vector<double> ln = wholeLogs(n);
    std::vector<double> p(kCells);
    double sum = 0;
    for (int i = 1; i <= kCells; ++i) {
        p[static_cast<std::size_t>(i - 1)] = binomialWith(ln, n, k, (i - 0.5) / kCells, feedback);
        sum += p[static_cast<std::size_t>(i - 1)];
    }
    for (double& v : p) v /= sum;
    return p;
}

bool validSample(int k, int n) { return !(k > n || k < 0 || n < 1); }

}  // namespace

double binomial(int n, int k, double p, Feedback& feedback) {
    if (k < 0) {  // no way to succeed fewer than 0 times (and no logarithm of a negative count)
        feedback.checkpoint();
        return 0;
    }
    return binomialWith(wholeLogs(std::max(n, k)), n, k, p, feedback);
}

std::optional<double> sameProbability(int k1, int n1, int k2, int n2, Feedback& feedback) {
    if (!validSample(k1, n1)) return std::nullopt;
    const std::vector<double> p1 = posterior(n1, k1, feedback);
    if (!validSample(k2, n2)) return std::nullopt;
    // The same sample twice gives the same distribution: no need to evaluate it again.
    const std::vector<double> p2 = (k1 == k2 && n1 == n2) ? p1 : posterior(n2, k2, feedback);
    double prob = 0;
    for (int i = 0; i < kCells; ++i) prob += p1[static_cast<std::size_t>(i)] * p2[static_cast<std::size_t>(i)];
    return prob;
}

double agreementWeight(double same, int viable, double p1, double p2) {
    if (viable <= 0) return 0;
    const double similarity = same / viable;
    if (similarity == 0 && p1 < 0) return 0;
    return std::pow(similarity, p1) * std::pow(static_cast<double>(viable), p2);
}

std::optional<double> ResamplingMemo::of(int k, int n, Feedback& feedback) {
    const std::lock_guard lock(mutex_);
    const auto key = std::make_pair(k, n);
    if (const auto found = known_.find(key); found != known_.end()) return found->second;
    const auto prob = sameProbability(k, n, k, n, feedback);
    known_.emplace(key, prob);
    return prob;
}

SpeciesWeights weightsFromCounts(WeightMode mode, const PairCounts* counts, ResamplingMemo* resampling,
                                 const std::vector<std::string>& names, std::optional<int> target, double p1, double p2,
                                 Feedback& feedback) {
    const int m = static_cast<int>(names.size());
    SpeciesWeights out;
    out.mode = mode;
    out.weight.assign(static_cast<std::size_t>(m), 1.0);
    out.viable.assign(static_cast<std::size_t>(m), true);
    for (int s = 0; s < m; ++s) {
        const auto at = static_cast<std::size_t>(s);
        feedback.caption(Label::Status, "Weight" + names[at]);
        const double share = static_cast<double>(s + 1) / m * 100;
        feedback.caption(Label::RunProgress, strnum(roundHalfEven(share * 10) / 10) + " %");
        if (mode == WeightMode::Target) {
            out.weight[at] = s == *target ? 0 : agreementWeight(counts->same[at], counts->viable[at], p1, p2);
        } else if (mode == WeightMode::Automatic) {
            const int n = counts->viable[at];
            const auto prob = resampling->of(static_cast<int>(counts->same[at]), n, feedback);
            out.viable[at] = prob.has_value();
            out.weight[at] = prob.value_or(0);
        }
    }
    feedback.caption(Label::Status, "Weight calculation end");
    return out;
}

SpeciesWeights computeWeights(SpeciesComparisons& cmp, ResamplingMemo& resampling,
                              const std::vector<std::string>& names, std::optional<int> target, bool autoWeight,
                              double p1, double p2, Feedback& feedback) {
    const WeightMode mode = target ? WeightMode::Target : (autoWeight ? WeightMode::Automatic : WeightMode::Uniform);
    const PairCounts* counts = nullptr;
    if (mode == WeightMode::Target) counts = &cmp.with(*target, feedback);
    if (mode == WeightMode::Automatic) counts = &cmp.own();
    return weightsFromCounts(mode, counts, &resampling, names, target, p1, p2, feedback);
}

}  // namespace el::engine
