#include "run_prepare.hpp"

#include <cmath>
#include <optional>

#include "base/calc_date.hpp"
#include "base/numtext.hpp"
#include "engine/run/input_checks.hpp"
#include "ops/forecast.hpp"
#include "engine/run/species_choice.hpp"
#include "ops/input_review.hpp"
#include "frame_input.hpp"
#include "frame_output.hpp"
#include "vector/vector_file.hpp"

namespace el::rpkg {
namespace {

// The text a setting takes from an R value: "1"/"0", a number in the data set's plain
// form, or the string.
std::string settingText(SEXP value, const std::string& setting) {
    if (Rf_xlength(value) != 1) throw ToolError("the value for " + setting + " must be a single value");
    switch (TYPEOF(value)) {
        case LGLSXP:
            if (LOGICAL(value)[0] == NA_LOGICAL) break;
            return std::string(LOGICAL(value)[0] ? kOn : kOff);
        case INTSXP:
            if (INTEGER(value)[0] == NA_INTEGER) break;
            return std::to_string(INTEGER(value)[0]);
        case REALSXP:
            if (!std::isfinite(REAL(value)[0])) break;
            return plainnum(REAL(value)[0]);
        case STRSXP:
            if (STRING_ELT(value, 0) == NA_STRING) break;
            return Rf_translateCharUTF8(STRING_ELT(value, 0));
        default:
            break;
    }
    throw ToolError("the value for " + setting + " must be a number, a string or TRUE/FALSE, not NA");
}

void applySettings(const Rcpp::List& given, PreparedRun& run) {
    if (given.size() == 0) return;
    const Rcpp::CharacterVector names = given.names();
    for (R_xlen_t i = 0; i < given.size(); ++i) {
        const std::string name(names[i]);
        const auto id = settingByName(name);
        if (!id) {
            run.ignored.push_back(name);
            continue;
        }
        run.settings.set(*id, settingText(given[i], name));
    }
}

// The species as the batch runner chooses them, from an R character vector of names (NULL:
// none given).
std::vector<std::string> chooseSpecies(SEXP given, const vec::VectorData& data, const std::string& fileName) {
    std::optional<std::vector<std::string>> names;
    if (!Rf_isNull(given)) {
        names.emplace();
        for (R_xlen_t i = 0; i < Rf_xlength(given); ++i) names->push_back(Rf_translateCharUTF8(STRING_ELT(given, i)));
    }
    engine::SpeciesChoice choice = engine::chooseSpecies(data, names, fileName);
    if (!choice.error.empty()) throw ToolError(choice.error);
    return std::move(choice.species);
}

}  // namespace

PreparedRun prepareRun(const RunInput& input, RFeedback& feedback) {
    PreparedRun run;
    run.settings.set(Setting::DataFileName, input.fileName);
    applySettings(input.settings, run);
    bool badEpoch = false;
    run.date = calculationDate(&badEpoch);
    if (badEpoch) throw ToolError("SOURCE_DATE_EPOCH must be a whole number of seconds");
    vec::VectorData frame;
    try {
        frame = dataFromFrame(input.names, input.columns, input.geometry);
    } catch (const std::runtime_error& e) {
        throw ToolError(e.what());
    }
    MessageList messages;
    vec::ReadOutcome read = vec::readVectorData(std::move(frame), kMissValue, {run.settings, messages, feedback});
    run.readMessages = messages.take();
    if (read.erf != 0) throw ToolError(joined(run.readMessages, "The data frame could not be read"));
    run.data = std::move(read.data);
    run.species = chooseSpecies(input.species, run.data, input.fileName);
    // The checks every front end makes before a run; R writes a similarity output of any size
    // into the list it returns, as it always has.
    ops::ForecastRequest request;
    request.data = &run.data;
    request.species = run.species;
    ops::Diagnostics checked = ops::checkForecast(request, run.settings, {.force = true});
    if (const ops::Diagnostic* refusal = ops::firstRefusal(checked)) throw ToolError(refusal->text);
    run.warnings = std::move(checked);
    return run;
}

}  // namespace el::rpkg
