#include "engine/model/prediction.hpp"

#include <cmath>

namespace el::engine {
namespace {

// n * sum(x^2) - (sum x)^2, the spread term of the coefficient's denominator.
double spread(int n, double sum, double squares) { return n * squares - sum * sum; }

// The correlation coefficient of date and score over the summed set, or the marker
// when its denominator is zero (or rounding leaves no usable value).
double coefficient(const FitSums& sums) {
    const double den = std::sqrt(spread(sums.count, sums.d, sums.d2) * spread(sums.count, sums.s, sums.s2));
    if (den == 0) return kNotComputable;
    const double r = (sums.count * sums.ds - sums.d * sums.s) / den;
    return std::isfinite(r) ? r : kNotComputable;
}

double sd(int n, double sum, double squares) { return std::sqrt((squares - sum * sum / n) / (n - 1)); }

}  // namespace

void FitSums::add(double date, double score) {
    ++count;
    d += date;
    d2 += date * date;
    s += score;
    s2 += score * score;
    ds += date * score;
}

FitSums FitSums::operator+(const FitSums& other) const {
    FitSums sum;
    sum.count = count + other.count;
    sum.d = d + other.d;
    sum.d2 = d2 + other.d2;
    sum.s = s + other.s;
    sum.s2 = s2 + other.s2;
    sum.ds = ds + other.ds;
    return sum;
}

SpeciesFit fitSpecies(const FitSums& training, const FitSums& validation) {
    SpeciesFit fit;
    const int nt = training.count;
    fit.nt = nt;
    fit.nv = validation.count;

    double p = static_cast<double>(nt - 1) * nt;
    if (p != 0) p = p * ((training.s2 - training.s * training.s / nt) / (nt - 1));
    p = p * spread(nt, training.d, training.d2) * spread(nt, training.s, training.s2);

    if (p != 0) {
        const double sdDate = sd(nt, training.d, training.d2);
        const double sdScore = sd(nt, training.s, training.s2);
        const double meanDate = training.d / nt;
        const double meanScore = training.s / nt;
        const double rt = (nt * training.ds - training.d * training.s) /
                          std::sqrt(spread(nt, training.d, training.d2) * spread(nt, training.s, training.s2));
        const double a = sdDate / sdScore;
        const double b = meanDate - meanScore * sdDate / sdScore;
        // Dates near the limits of a double (or rounding on a degenerate set) can leave no
        // finite line; such a species is treated as not predictable rather than printing NaN.
        if (std::isfinite(rt) && std::isfinite(a) && std::isfinite(b)) {
            fit.predictable = true;
            fit.rt = rt;
            fit.a = a;
            fit.b = b;
        }
    }
    fit.rv = coefficient(validation);
    fit.rw = coefficient(training + validation);
    return fit;
}

double sampleSd(const std::vector<double>& values) {
    const int n = static_cast<int>(values.size());
    double sum = 0, squares = 0;
    for (double v : values) {
        sum += v;
        squares += v * v;
    }
    return sd(n, sum, squares);
}

double trialScale(const std::vector<double>& score, const std::vector<double>& eigenmean, double slope) {
    const double scale = sampleSd(score) * slope / sampleSd(eigenmean);
    return std::isfinite(scale) ? scale : 0;
}

}  // namespace el::engine
