#include "run_prepare.hpp"

#include <algorithm>
#include <cmath>

#include "base/calc_date.hpp"
#include "base/numtext.hpp"
#include "frame_input.hpp"
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

void addOnce(std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

// The batch runner's rule: the names given (a repeat once), each a variable of the data,
// else every variable in file order.
std::vector<std::string> chooseSpecies(SEXP given, const VectorData& data, const std::string& fileName) {
    const std::vector<std::string> variables(data.valname.begin(), data.valname.begin() + data.valn());
    std::vector<std::string> species;
    if (Rf_isNull(given)) {
        for (const auto& name : variables) addOnce(species, name);
        return species;
    }
    for (R_xlen_t i = 0; i < Rf_xlength(given); ++i) {
        const std::string name = Rf_translateCharUTF8(STRING_ELT(given, i));
        if (std::find(variables.begin(), variables.end(), name) == variables.end())
            throw ToolError("\"" + name + "\" is not a variable of " + fileName);
        addOnce(species, name);
    }
    return species;
}

}  // namespace

PreparedRun prepareRun(const RunInput& input, RFeedback& feedback) {
    PreparedRun run;
    run.settings.set(Setting::DataFileName, input.fileName);
    applySettings(input.settings, run);
    bool badEpoch = false;
    run.date = calculationDate(&badEpoch);
    if (badEpoch) throw ToolError("SOURCE_DATE_EPOCH must be a whole number of seconds");
    VectorData frame;
    try {
        frame = dataFromFrame(input.names, input.columns, input.geometry);
    } catch (const std::runtime_error& e) {
        throw ToolError(e.what());
    }
    KeptMessages messages;
    ReadOutcome read = readVectorData(std::move(frame), kMissValue, {run.settings, messages, feedback});
    if (read.erf != 0) throw ToolError(messages.joined("The data frame could not be read"));
    run.readMessages = messages.take();
    run.data = std::move(read.data);
    run.species = chooseSpecies(input.species, run.data, input.fileName);
    return run;
}

}  // namespace el::rpkg
