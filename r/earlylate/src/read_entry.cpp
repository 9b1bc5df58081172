// el_read(): a vector file, or a GIS file through GDAL, read as the Read step reads it.

#include <Rcpp.h>

#include <filesystem>

#include "base/settings.hpp"
#include "base/text.hpp"
#include "engine/input_checks.hpp"
#include "frame_output.hpp"
#include "gis/prepare_read.hpp"
#include "r_hooks.hpp"
#include "vector/file_bytes.hpp"
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

// The Read step on the file, writing nothing (no scan side log).
ReadOutcome readPath(const fs::path& path, const std::string& encoding, const ReadHooks& hooks, bool& gisFile) {
    hooks.feedback.caption(Label::ReadProgress, " 0 %");
    std::optional<std::string> bytes;
    if (!gis::isGisFile(path)) {
        bytes = vec::readWholeFile(path);
        if (!bytes) {
            hooks.messenger.message("Cannot open file: " + path.string());
            return ReadOutcome{};
        }
    }
    if (bytes && looksLikeVectorFile(path, *bytes))
        return readVectorBytes(std::move(*bytes), path.string(), kMissValue, hooks, encoding, fs::path());
    gisFile = true;
    auto data = gis::importForRead(path, hooks.messenger);
    if (!data) return ReadOutcome{};
    return readVectorData(std::move(*data), kMissValue, hooks);
}

}  // namespace

// [[Rcpp::export(rng = false)]]
Rcpp::List el_read_cpp(std::string path, std::string encoding, bool formatCheck) {
    SettingValues settings;
    settings.set(Setting::SkipFormatCheck, std::string(formatCheck ? kOff : kOn));
    MessageList messages;
    RFeedback feedback;
    ReadOutcome outcome;
    bool gisFile = false;
    try {
        outcome = readPath(fs::u8path(path), encoding, {settings, messages, feedback}, gisFile);
    } catch (const Cancelled&) {
        raiseInterrupt();
    }
    const std::vector<std::string> texts = messages.take();
    if (outcome.erf != 0)
        return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({joined(texts, "The file could not be read: " + path)}));
    Rcpp::List frame;
    try {
        frame = frameOfData(outcome.data, kMissValue);
    } catch (const std::runtime_error& e) {
        return Rcpp::List::create(Rcpp::Named("error") = utf8Vector({e.what()}));
    }
    frame["messages"] = utf8Vector(texts);
    frame["gis"] = gisFile;
    std::vector<std::string> notices;
    if (const auto notice = vec::encodingNotice(fs::u8path(path).filename().string(), outcome.data.encoding))
        notices.push_back(*notice + "; use encoding = to choose another");
    frame["notices"] = utf8Vector(notices);
    std::vector<std::string> warnings;
    if (auto duplicated = engine::duplicatedNamesWarning(outcome.data)) warnings.push_back(std::move(*duplicated));
    frame["warnings"] = utf8Vector(warnings);
    return frame;
}
