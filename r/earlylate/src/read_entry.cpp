// el_read(): a vector file read as the Read step reads it, or a GIS layer that sf has read
// in R, taken as the Read step takes a converted layer.

#include <Rcpp.h>

#include <filesystem>

#include "base/settings.hpp"
#include "base/text.hpp"
#include "frame_input.hpp"
#include "vector/field_text.hpp"
#include "engine/run/input_checks.hpp"
#include "frame_output.hpp"
#include "ops/input_review.hpp"
#include "r_hooks.hpp"
#include "base/file_bytes.hpp"
#include "vector/text_encoding.hpp"
#include "vector/vector_file.hpp"

namespace {

namespace fs = std::filesystem;
using namespace el;
using namespace el::rpkg;

// A vector file's first line is its file type; a GIS layer in any other format begins otherwise.
bool looksLikeVectorFile(const fs::path& path, const std::string& bytes) {
    if (asciiLower(path.extension().string()) == ".csv") return true;
    const std::string_view text = std::string_view(bytes).substr(bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0);
    return asciiLower(text.substr(0, 6)) == "vector";
}

SettingValues readSettings(bool formatCheck) {
    SettingValues settings;
    settings.set(Setting::SkipFormatCheck, std::string(formatCheck ? kOff : kOn));
    return settings;
}

Rcpp::List errorList(const std::string& text) { return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({text})); }

// The data set of a completed Read as the list el_read() makes its frame of, or the error.
Rcpp::List frameOrError(const vec::ReadOutcome& outcome, std::vector<std::string> texts, const std::string& fallback,
                        const std::string& path) {
    if (outcome.erf != 0) return errorList(joined(texts, fallback));
    Rcpp::List frame;
    try {
        frame = frameOfData(outcome.data, kMissValue);
    } catch (const std::runtime_error& e) {
        return errorList(e.what());
    }
    frame["messages"] = utf8Vector(texts);
    std::vector<std::string> notices;
    if (const auto guess = ops::encodingGuess(fs::u8path(path).filename().string(), outcome.data.encoding))
        notices.push_back(guess->text + "; use encoding = to choose another");
    frame["notices"] = utf8Vector(notices);
    std::vector<std::string> warnings;
    if (auto duplicated = engine::duplicatedNamesWarning(outcome.data)) warnings.push_back(std::move(*duplicated));
    frame["warnings"] = utf8Vector(warnings);
    return frame;
}

}  // namespace

// list(gis = TRUE) when the file is not a vector file: R then reads it as a GIS layer.
// [[Rcpp::export(rng = false)]]
Rcpp::List el_read_cpp(std::string path, std::string encoding, bool formatCheck) {
    const SettingValues settings = readSettings(formatCheck);
    MessageList messages;
    RFeedback feedback;
    const fs::path source = fs::u8path(path);
    std::optional<std::string> bytes = readWholeFile(source);
    if (!bytes) return errorList("Cannot open file: " + path);
    if (!looksLikeVectorFile(source, *bytes)) return Rcpp::List::create(Rcpp::Named("gis") = true);
    vec::ReadOutcome outcome;
    try {
        feedback.caption(Label::ReadProgress, " 0 %");
        outcome = vec::readVectorBytes(std::move(*bytes), path, kMissValue, {settings, messages, feedback}, encoding, fs::path());
    } catch (const Cancelled&) {
        raiseInterrupt();
    }
    return frameOrError(outcome, messages.take(), "The file could not be read: " + path, path);
}

// `names`, `columns` and `geometry` as for a data frame (frame_input.hpp), from the first
// layer of the GIS file `file`; `comment` is the vector file comment its conversion gives.
// [[Rcpp::export(rng = false)]]
Rcpp::List el_read_layer_cpp(Rcpp::CharacterVector names, Rcpp::List columns, SEXP geometry, std::string file,
                             std::string comment, bool formatCheck) {
    const SettingValues settings = readSettings(formatCheck);
    MessageList messages;
    RFeedback feedback;
    vec::ReadOutcome outcome;
    try {
        vec::VectorData data = dataFromFrame(names, columns, geometry);
        data.comment = vec::vectorFieldText(comment);
        vec::asReadFromText(data);
        feedback.caption(Label::ReadProgress, " 0 %");
        outcome = vec::readVectorData(std::move(data), kMissValue, {settings, messages, feedback});
    } catch (const Cancelled&) {
        raiseInterrupt();
    } catch (const std::runtime_error& e) {
        return errorList("Cannot read " + file + ": " + e.what());
    }
    return frameOrError(outcome, messages.take(), "The file could not be read: " + file, file);
}
