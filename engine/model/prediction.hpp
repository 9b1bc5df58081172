#pragma once
// From region scores to dates: the straight-line fit of known dates on scores for one
// species, its correlation coefficients, and the trial-to-date scale.

#include <vector>

namespace el::engine {

// Running sums of date d and score s over a set of regions.
struct FitSums {
    int count = 0;
    double d = 0, d2 = 0, s = 0, s2 = 0, ds = 0;
    void add(double date, double score);
    FitSums operator+(const FitSums& other) const;
};

// The marker of a correlation coefficient that cannot be computed.
inline constexpr double kNotComputable = -10;

struct SpeciesFit {
    int nt = 0;               // training regions
    int nv = 0;               // validation regions
    bool predictable = false;
    double a = 0;             // slope: sd of dates / sd of scores
    double b = 0;             // intercept
    double rt = kNotComputable;  // training coefficient
    double rv = kNotComputable;  // validation coefficient
    double rw = kNotComputable;  // training & validation coefficient
};

// Fits one species from the sums over its training and validation sets.
SpeciesFit fitSpecies(const FitSums& training, const FitSums& validation);

// Sample standard deviation as sqrt((sum v^2 - (sum v)^2 / n) / (n - 1)), in that order of
// operations; may be NaN for fewer than two values (callers guard).
double sampleSd(const std::vector<double>& values);

// scale = sd(score) * a / sd(eigenmean); 0 when not finite (no trials, one region, no spread).
double trialScale(const std::vector<double>& score, const std::vector<double>& eigenmean, double slope);

}  // namespace el::engine
