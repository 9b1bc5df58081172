#pragma once
// Logistic regression by Newton's method, with a ridge penalty on the slopes: the fit that
// turns a region's features into the probability of a first record.
//
// The fit maximises
//     sum_i [y_i log p_i + (1 - y_i) log(1 - p_i)]  -  (lambda / 2) sum_{j >= 1} b_j^2,
//     p_i = 1 / (1 + exp(-(b_0 + sum_j b_j x_ij))),
// so the intercept b_0 is never penalised: centring a feature moves only the intercept, and
// the penalty pulls the slopes towards "this feature tells nothing". With lambda = 0 it is
// the plain maximum-likelihood fit (the calibration line of a check).

#include <optional>
#include <vector>

namespace el::engine {

// One observation: its features (the same count in every row) and its outcome (0 or 1).
struct LogisticCase {
    std::vector<double> x;
    int y = 0;
};

struct LogisticOptions {
    double lambda = 1.0;      // ridge penalty on the slopes
    int maxIterations = 100;  // Newton steps at most
    double tolerance = 1e-8;  // converged when a Newton step moves no coefficient by more than
                              // this times the largest of 1 and the coefficients' magnitudes
};

struct LogisticFit {
    std::vector<double> coefficients;  // intercept first, then one slope per feature
    bool converged = false;
    int iterations = 0;        // Newton steps taken
    double logLikelihood = 0;  // unpenalised, at the coefficients
};

// The fit over `cases`; nothing when there is no case or the rows differ in length. A fit
// that does not settle (all outcomes equal, or separation without penalty) still returns
// its last coefficients with `converged` false.
std::optional<LogisticFit> fitLogistic(const std::vector<LogisticCase>& cases, const LogisticOptions& options = {});

// b_0 + sum_j b_j x_j.
double linearPredictor(const std::vector<double>& coefficients, const std::vector<double>& x);

// 1 / (1 + exp(-eta)), without overflow for large |eta|.
double logistic(double eta);

// log(p / (1 - p)).
double logit(double p);

}  // namespace el::engine
