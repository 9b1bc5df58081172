#include "engine/risk/logistic_fit.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace el::engine {
namespace {

// The relative change of the penalised log-likelihood below which a fit has settled.
constexpr double kSettled = 1e-12;
constexpr double kSmallStep = 1e-4;

// A symmetric system in row-major order, solved in place by Cholesky decomposition.
// False when the matrix is not positive definite.
bool solveSymmetric(std::vector<double> a, std::vector<double>& b) {
    const std::size_t n = b.size();
    for (std::size_t j = 0; j < n; ++j) {
        double d = a[j * n + j];
        for (std::size_t k = 0; k < j; ++k) d -= a[j * n + k] * a[j * n + k];
        if (!(d > 0)) return false;
        d = std::sqrt(d);
        a[j * n + j] = d;
        for (std::size_t i = j + 1; i < n; ++i) {
            double s = a[i * n + j];
            for (std::size_t k = 0; k < j; ++k) s -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = s / d;
        }
    }
    for (std::size_t i = 0; i < n; ++i) {  // L y = b
        for (std::size_t k = 0; k < i; ++k) b[i] -= a[i * n + k] * b[k];
        b[i] /= a[i * n + i];
    }
    for (std::size_t i = n; i-- > 0;) {  // L' x = y
        for (std::size_t k = i + 1; k < n; ++k) b[i] -= a[k * n + i] * b[k];
        b[i] /= a[i * n + i];
    }
    return true;
}

// log p for the outcome y at linear predictor eta, computed without overflow.
double logProbability(double eta, int y) {
    const double z = y == 1 ? eta : -eta;  // log(1 / (1 + exp(-z)))
    return z >= 0 ? -std::log1p(std::exp(-z)) : z - std::log1p(std::exp(z));
}

double logLikelihoodAt(const std::vector<LogisticCase>& cases, const std::vector<double>& b) {
    double sum = 0;
    for (const LogisticCase& c : cases) sum += logProbability(linearPredictor(b, c.x), c.y);
    return sum;
}

double penalised(const std::vector<LogisticCase>& cases, const std::vector<double>& b, double lambda) {
    double slopes = 0;
    for (std::size_t j = 1; j < b.size(); ++j) slopes += b[j] * b[j];
    return logLikelihoodAt(cases, b) - lambda / 2 * slopes;
}

// The Newton step at b: (X'WX + lambda I*) step = X'(y - p) - lambda b*, where * leaves out
// the intercept. False when the system has no unique solution.
bool newtonStep(const std::vector<LogisticCase>& cases, const std::vector<double>& b, double lambda,
                std::vector<double>& step) {
    const std::size_t m = b.size();
    std::vector<double> hessian(m * m, 0.0), row(m);
    step.assign(m, 0.0);
    for (const LogisticCase& c : cases) {
        row[0] = 1;
        std::copy(c.x.begin(), c.x.end(), row.begin() + 1);
        const double p = logistic(linearPredictor(b, c.x));
        const double w = p * (1 - p);
        for (std::size_t i = 0; i < m; ++i) {
            step[i] += row[i] * (c.y - p);
            for (std::size_t j = 0; j < m; ++j) hessian[i * m + j] += w * row[i] * row[j];
        }
    }
    for (std::size_t j = 1; j < m; ++j) {
        hessian[j * m + j] += lambda;
        step[j] -= lambda * b[j];
    }
    return solveSymmetric(std::move(hessian), step);
}

}  // namespace

double linearPredictor(const std::vector<double>& coefficients, const std::vector<double>& x) {
    double eta = coefficients.empty() ? 0.0 : coefficients[0];
    for (std::size_t j = 0; j < x.size() && j + 1 < coefficients.size(); ++j) eta += coefficients[j + 1] * x[j];
    return eta;
}

double logistic(double eta) {
    if (eta >= 0) return 1 / (1 + std::exp(-eta));
    const double e = std::exp(eta);
    return e / (1 + e);
}

double logit(double p) { return std::log(p / (1 - p)); }

std::optional<LogisticFit> fitLogistic(const std::vector<LogisticCase>& cases, const LogisticOptions& options) {
    if (cases.empty()) return std::nullopt;
    const std::size_t features = cases.front().x.size();
    for (const LogisticCase& c : cases)
        if (c.x.size() != features) return std::nullopt;
    LogisticFit fit;
    fit.coefficients.assign(features + 1, 0.0);
    std::vector<double> step;
    double current = penalised(cases, fit.coefficients, options.lambda);
    while (fit.iterations < options.maxIterations) {
        if (!newtonStep(cases, fit.coefficients, options.lambda, step)) break;
        ++fit.iterations;
        double largest = 0, size = 1;
        for (double d : step) largest = std::max(largest, std::fabs(d));
        for (double b : fit.coefficients) size = std::max(size, std::fabs(b));
        if (largest <= options.tolerance * size) {  // at the optimum up to rounding
            for (std::size_t j = 0; j < step.size(); ++j) fit.coefficients[j] += step[j];
            fit.converged = true;
            break;
        }
        // Halve the step until the penalised likelihood does not fall (Newton's full step
        // can overshoot far from the optimum).
        std::vector<double> next(fit.coefficients.size());
        double scale = 1, value = current;
        for (int halving = 0; halving < 30; ++halving, scale /= 2) {
            for (std::size_t j = 0; j < next.size(); ++j) next[j] = fit.coefficients[j] + scale * step[j];
            value = penalised(cases, next, options.lambda);
            if (value >= current) break;
        }
        // Near the optimum the gradient is lost in rounding and the step stops shrinking:
        // a likelihood that no longer changes under a small step is converged too. (Under
        // separation the steps stay large while the likelihood creeps towards 0.)
        const bool settled =
            std::fabs(value - current) <= kSettled * (std::fabs(current) + 0.1) && largest <= kSmallStep * size;
        if (value >= current) {
            fit.coefficients = next;
            current = value;
        }
        if (settled) {
            fit.converged = true;
            break;
        }
        if (value < current) break;  // no step improves: the last coefficients stand, not converged
    }
    fit.logLikelihood = logLikelihoodAt(cases, fit.coefficients);
    return fit;
}

}  // namespace el::engine
