#pragma once
// What every run from R starts with, as the batch runner starts its own: the data frame
// taken by the Read step, the species list, the settings store and the calculation date.

#include <Rcpp.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "base/settings.hpp"
#include "ops/diagnostic.hpp"
#include "r_hooks.hpp"
#include "vector/vector_data.hpp"

namespace el::rpkg {

// A refusal with the sentence the user sees as the R error.
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The data frame's pieces and the R arguments of a run.
struct RunInput {
    Rcpp::CharacterVector names;
    Rcpp::List columns;
    SEXP geometry;
    Rcpp::List settings;  // setting name -> string, number or logical
    SEXP species;         // NULL: every species column; else the names in list order
    std::string fileName; // the name the log's header gives the data
};

struct PreparedRun {
    vec::VectorData data;
    std::vector<std::string> species;
    SettingValues settings;
    std::vector<std::string> ignored;  // settings this core does not have
    std::string date;
    std::vector<std::string> readMessages;
    ops::Diagnostics warnings;  // of the input, before the run
};

// Throws ToolError (bad frame, a Read that failed, a species that is no column, a target
// that names no species analysed, a bad SOURCE_DATE_EPOCH, a setting value of the wrong
// kind) and Cancelled.
PreparedRun prepareRun(const RunInput& input, RFeedback& feedback);

}  // namespace el::rpkg
