#include "ops/load.hpp"

#include <variant>

#include "base/file_bytes.hpp"
#include "gis/read_source.hpp"
#include "ops/input_review.hpp"
#include "vector/table_hint.hpp"
#include "vector/text_encoding.hpp"

namespace el::ops {
namespace {

// What a file the vector scan refused looks like, when it looks like a table.
std::optional<Diagnostic> tableLookOf(const std::filesystem::path& file, const std::string& encoding) {
    const auto bytes = readWholeFile(file);
    if (!bytes) return std::nullopt;
    const auto decoded = vec::decodeSource(*bytes, encoding);
    const auto* text = std::get_if<vec::DecodedText>(&decoded);
    if (text == nullptr) return std::nullopt;
    auto look = vec::tableLook(text->utf8);
    if (!look) return std::nullopt;
    return Diagnostic{Severity::Refusal, DiagnosticKind::TableNotVectorFile, std::move(*look), file.string()};
}

LoadResult loadRecords(const LoadRequest& request, const vec::ReadHooks& hooks, const ImportedHook& imported) {
    LoadResult result;
    result.convertedFromGis = true;
    RecordsReadOutcome read =
        readRecordsSource(*request.records, request.missvalue, hooks, [&imported](const vec::ImportedRecords& records) {
            if (imported) imported(records.summary, records.built.data);
        });
    result.read = std::move(read.read);
    result.summary = std::move(read.summary);
    return result;
}

LoadResult loadFile(const LoadRequest& request, const vec::ReadHooks& hooks) {
    SourceReadOutcome source =
        readSourceFile(request.file, request.missvalue, hooks, request.sideFolder, request.encoding);
    LoadResult result;
    result.read = std::move(source.read);
    result.convertedFromGis = source.convertedFromGis;
    if (result.loaded()) {
        if (auto guess = encodingGuess(request.file.filename().string(), result.read.data.encoding))
            result.diagnostics.push_back(std::move(*guess));
    } else if (!result.convertedFromGis) {
        if (auto look = tableLookOf(request.file, request.encoding)) result.diagnostics.push_back(std::move(*look));
    }
    return result;
}

}  // namespace

LoadResult load(const LoadRequest& request, const vec::ReadHooks& hooks, const ImportedHook& imported) {
    return request.records ? loadRecords(request, hooks, imported) : loadFile(request, hooks);
}

std::string tableAdvice(const Diagnostic& looksLikeTable, const std::string& recordsWay) {
    return looksLikeTable.text + " To read first records from it, use " + recordsWay;
}

}  // namespace el::ops
