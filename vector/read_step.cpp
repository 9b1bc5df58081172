// The Read step: decode the source, normalise it, scan it and read it, all in memory.

#include <variant>

#include "base/file_bytes.hpp"
#include "vector/progress_text.hpp"
#include "vector/text_encoding.hpp"
#include "vector/vector_checks.hpp"
#include "vector/vector_file.hpp"

namespace el::vec {
namespace {

// The source decoded and normalised, or nothing after a message.
std::optional<std::string> normalisedText(std::string bytes, const std::string& sourceName,
                                          const std::string& encoding, Messenger& messenger, TextEncoding& found) {
    auto decoded = vec::decodeSource(bytes, encoding);
    std::string().swap(bytes);  // only one copy of a large file at a time
    if (const auto* problem = std::get_if<std::string>(&decoded)) {
        messenger.message(sourceName + ": " + *problem);
        return std::nullopt;
    }
    const vec::DecodedText& source = std::get<vec::DecodedText>(decoded);
    found = source.encoding;
    return filecomma(source.utf8);
}

ReadOutcome finished(ReadOutcome outcome, Feedback& feedback) {
    if (outcome.erf == 0) {
        feedback.caption(Label::ReadProgress, "100 % complete");
    } else {
        // Keep the sizes for the record, but nothing that could pass for a loaded file.
        const VectorSizes sizes = outcome.data.sizes;
        outcome.data = VectorData{};
        outcome.data.sizes = sizes;
    }
    return outcome;
}

ReadOutcome readStep(std::string bytes, const std::string& sourceName, const std::string& missvalue,
                     const ReadHooks& hooks, const std::string& encoding, const std::filesystem::path& sideLog) {
    ReadOutcome outcome;
    TextEncoding found;
    const auto text = normalisedText(std::move(bytes), sourceName, encoding, hooks.messenger, found);
    if (!text) return outcome;
    outcome.erf = VectorFileSize(*text, outcome.data.sizes, hooks.messenger, hooks.feedback, kNormalisedCopyName, sideLog);
    if (outcome.erf == 0) outcome.erf = VectorFileRead(*text, outcome.data, missvalue, hooks);
    if (outcome.erf == 0) outcome.data.encoding = found;
    return finished(std::move(outcome), hooks.feedback);
}

}  // namespace

ReadOutcome readVectorBytes(std::string bytes, const std::string& sourceName, const std::string& missvalue,
                            const ReadHooks& hooks, const std::string& encoding, const std::filesystem::path& sideLog) {
    hooks.feedback.caption(Label::ReadProgress, " 0 %");
    return readStep(std::move(bytes), sourceName, missvalue, hooks, encoding, sideLog);
}

ReadOutcome readVectorFile(const std::filesystem::path& source, const std::string& missvalue, const ReadHooks& hooks,
                           const std::filesystem::path& sideFolder, const std::string& encoding) {
    hooks.feedback.caption(Label::ReadProgress, " 0 %");
    auto bytes = readWholeFile(source);
    if (!bytes) {
        hooks.messenger.message("Cannot open file: " + source.string());
        return ReadOutcome{};
    }
    const std::filesystem::path sideLog = sideFolder.empty() ? std::filesystem::path() : sideFolder / kScanLogFile;
    return readStep(std::move(*bytes), source.string(), missvalue, hooks, encoding, sideLog);
}

ReadOutcome readVectorData(VectorData data, const std::string& missvalue, const ReadHooks& hooks) {
    hooks.feedback.caption(Label::ReadProgress, " 0 %");
    ReadOutcome outcome;
    if (!data.consistent()) {
        hooks.messenger.message("The vector data set is not sized for this file");
        outcome.data.sizes = data.sizes;
        return finished(std::move(outcome), hooks.feedback);
    }
    vec::ProgressLabel label(hooks.feedback);
    const int objn = data.objn();
    for (int i = 1; i <= objn; ++i) {
        label.show(vec::percentText(i, objn));
        hooks.feedback.checkpoint();
        for (std::string& value : data.objects[static_cast<std::size_t>(i - 1)].values)
            if (value.empty()) value = missvalue;
        hooks.feedback.progress(ProgressStage::ReadObjects, i, objn);
    }
    outcome.data = std::move(data);
    vec::checkNamesAndBoundaries(outcome.data, hooks);
    outcome.erf = 0;
    return finished(std::move(outcome), hooks.feedback);
}

}  // namespace el::vec
