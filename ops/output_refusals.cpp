#include "ops/output_refusals.hpp"

#include "base/parameters.hpp"
#include "vector/records.hpp"

namespace el::ops {
namespace {

std::string bringsGeometry(std::string_view regionsWords) {
    return "the regions' geometry, which a records table brings only with " + std::string(regionsWords);
}

}  // namespace

std::optional<Diagnostic> mapRefusal(const std::string& file, const vec::VectorData& data,
                                     std::string_view regionsWords) {
    if (!vec::withoutGeometry(data)) return std::nullopt;
    const std::string what = file.empty() ? "The map" : "\"" + file + "\"";
    return Diagnostic{Severity::Refusal, DiagnosticKind::MapWithoutGeometry,
                      what + " is not drawn: a map needs " + bringsGeometry(regionsWords), file};
}

std::optional<Diagnostic> layerRefusal(const std::string& file, const vec::VectorData& data,
                                       std::string_view regionsWords) {
    if (!vec::withoutGeometry(data)) return std::nullopt;
    return Diagnostic{Severity::Refusal, DiagnosticKind::LayerWithoutGeometry,
                      "The predictions layer \"" + file + "\" is not written: a layer needs " +
                          bringsGeometry(regionsWords) + " (write it as .csv instead)",
                      file};
}

std::optional<Diagnostic> distanceBaselineWarning(const vec::VectorData& data, std::string_view regionsWords) {
    if (!vec::withoutGeometry(data)) return std::nullopt;
    return Diagnostic{Severity::Warning, DiagnosticKind::DistanceWithoutGeometry,
                      "The hindcast's distance baseline needs the regions' geometry (" + std::string(regionsWords) +
                          "): its figures are null",
                      ""};
}

std::optional<Diagnostic> threadCountRefusal(const std::string& text) {
    const auto refusal = refusalOf(parameter(Param::Threads), text, {});
    if (!refusal) return std::nullopt;
    return Diagnostic{Severity::Refusal, DiagnosticKind::BadThreadCount, "The thread count" + *refusal, text};
}

}  // namespace el::ops
