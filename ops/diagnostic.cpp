#include "ops/diagnostic.hpp"

#include <utility>

namespace el::ops {

Diagnostic outputNotMade(std::string text, std::string subject) {
    return {Severity::Refusal, DiagnosticKind::OutputNotMade, std::move(text), std::move(subject)};
}

std::string_view kindName(DiagnosticKind kind) {
    switch (kind) {
        case DiagnosticKind::DuplicatedRegionNames:
            return "duplicated_region_names";
        case DiagnosticKind::UndatedSpecies:
            return "undated_species";
        case DiagnosticKind::NoValidation:
            return "no_validation";
        case DiagnosticKind::MapWithoutGeometry:
            return "map_without_geometry";
        case DiagnosticKind::LayerWithoutGeometry:
            return "layer_without_geometry";
        case DiagnosticKind::DistanceWithoutGeometry:
            return "distance_without_geometry";
        case DiagnosticKind::BadThreadCount:
            return "bad_thread_count";
        case DiagnosticKind::UnknownTarget:
            return "unknown_target";
        case DiagnosticKind::OversizedSimilarityOutput:
            return "oversized_similarity_output";
        case DiagnosticKind::NoSkill:
            return "no_skill";
        case DiagnosticKind::MixedScriptName:
            return "mixed_script_name";
        case DiagnosticKind::EncodingGuess:
            return "encoding_guess";
        case DiagnosticKind::TableNotVectorFile:
            return "table_not_vector_file";
        case DiagnosticKind::BadYear:
            return "bad_year";
        case DiagnosticKind::NoHindcastTarget:
            return "no_hindcast_target";
        case DiagnosticKind::BadEligibilityRule:
            return "bad_eligibility_rule";
        case DiagnosticKind::WeightPlotWithoutGrid:
            return "weight_plot_without_grid";
        case DiagnosticKind::OutputNotMade:
            return "output_not_made";
        case DiagnosticKind::RiskNotice:
            return "risk_notice";
    }
    return "unknown";
}

}  // namespace el::ops
