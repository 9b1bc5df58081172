// Dates of R (Date, POSIXct) as the decimal years the GIS import makes of date fields.

#include <Rcpp.h>

#include "base/decimal_year.hpp"

// [[Rcpp::export(rng = false)]]
Rcpp::NumericVector el_decimal_years(Rcpp::IntegerVector year, Rcpp::IntegerVector month, Rcpp::IntegerVector day,
                                     Rcpp::NumericVector seconds) {
    Rcpp::NumericVector out(year.size());
    for (R_xlen_t i = 0; i < year.size(); ++i) {
        if (year[i] == NA_INTEGER || month[i] == NA_INTEGER || day[i] == NA_INTEGER || ISNAN(seconds[i])) {
            out[i] = NA_REAL;
            continue;
        }
        const auto value = el::decimalYear(year[i], month[i], day[i], seconds[i]);
        out[i] = value ? *value : NA_REAL;
    }
    return out;
}
