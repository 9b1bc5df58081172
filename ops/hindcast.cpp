#include "ops/hindcast.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/numtext.hpp"
#include "base/parameters.hpp"
#include "base/step_feedback.hpp"
#include "base/text.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/model/run_error.hpp"
#include "ops/forecast.hpp"
#include "ops/output_refusals.hpp"

namespace el::ops {
namespace {

constexpr std::string_view kThreadWords = "The thread count";
constexpr std::string_view kRuleWords = "The eligibility rule ";

bool among(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

Diagnostic badYear(std::string given) {
    return {Severity::Refusal, DiagnosticKind::BadYear,
            "\"" + given + "\" is not a year: give one or more years separated by commas.", given};
}

std::optional<Diagnostic> yearsRefusal(const std::vector<double>& years) {
    if (years.empty()) return badYear("");
    for (double year : years)
        if (!std::isfinite(year)) return badYear(std::isnan(year) ? "nan" : year > 0 ? "inf" : "-inf");
    return std::nullopt;
}

// The first candidate that is no species analysed.
std::optional<std::string> unknownCandidate(const HindcastRequest& request) {
    if (!request.targets || *request.targets == std::vector<std::string>{"all"}) return std::nullopt;
    for (const std::string& name : *request.targets)
        if (!among(request.species, name)) return name;
    return std::nullopt;
}

std::string notAmongText(const std::string& name) { return "\"" + name + "\" is not among the species analysed"; }

struct Rule {
    Param param;
    int value;
};

std::optional<Diagnostic> ruleRefusal(const engine::HindcastEligibility& rules) {
    const std::array<Rule, 3> all{{{Param::HindcastMinBefore, rules.minBefore},
                                   {Param::HindcastMinAfter, rules.minAfter},
                                   {Param::HindcastMinUnreached, rules.minUnreached}}};
    for (const Rule& rule : all) {
        const Parameter& p = parameter(rule.param);
        const std::string value = std::to_string(rule.value);
        if (const auto refusal = refusalOf(p, value, {}))
            return Diagnostic{Severity::Refusal, DiagnosticKind::BadEligibilityRule,
                              std::string(kRuleWords) + std::string(p.name) + *refusal, value};
    }
    return std::nullopt;
}

engine::HindcastRequest engineRequest(const HindcastRequest& request) {
    return {request.data, request.species, request.missvalue, request.calculationDate, request.settings};
}

// The species-years of the candidates that the hindcast over several species scores.
long long eligiblePairs(const HindcastRequest& request, const std::vector<std::string>& candidates) {
    long long pairs = 0;
    for (double year : request.years)
        for (const std::string& name : candidates)
            if (engine::eligibleAt(*request.data, name, year, request.rules)) ++pairs;
    return pairs;
}

}  // namespace

TypedYears readYears(std::string_view text) {
    TypedYears out;
    for (const std::string& part : splitAtCommas(text)) {
        const auto year = parseNumber(part);
        if (!year) {
            out.years.clear();
            out.refusal = badYear(std::string(trimBlanks(part)));
            return out;
        }
        out.years.push_back(*year);
    }
    return out;
}

Diagnostics checkHindcast(const HindcastRequest& request, const TypedYears* typed) {
    Diagnostics out;
    if (request.targetYears && !among(request.species, request.settings.get(Setting::TargetSpecies)))
        out.push_back({Severity::Refusal, DiagnosticKind::NoHindcastTarget,
                       "A hindcast needs a target species among the species analysed", ""});
    if (auto refusal = typed && typed->refusal ? typed->refusal : yearsRefusal(request.years))
        out.push_back(std::move(*refusal));
    if (auto refusal = threadCountRefusal(request.settings.get(Setting::Threads))) out.push_back(std::move(*refusal));
    if (const auto name = unknownCandidate(request))
        out.push_back({Severity::Refusal, DiagnosticKind::UnknownTarget, notAmongText(*name), *name});
    if (request.targets)
        if (auto refusal = ruleRefusal(request.rules)) out.push_back(std::move(*refusal));
    return out;
}

std::vector<std::string> hindcastCandidates(const HindcastRequest& request) {
    if (!request.targets) return {};
    const bool all = *request.targets == std::vector<std::string>{"all"};
    return engine::hindcastTargets(all ? request.species : *request.targets, request.species);
}

HindcastResult hindcast(const HindcastRequest& request, Feedback& feedback, const TargetYearsDone& targetDone) {
    if (request.data == nullptr) throw engine::RunError("No complete data set is loaded");
    const Diagnostics checked = checkHindcast(request);
    if (const Diagnostic* refusal = firstRefusal(checked)) throw engine::RunError(refusal->text);
    const std::vector<std::string> candidates = hindcastCandidates(request);
    std::vector<long long> weights;
    if (request.targetYears) weights.push_back(static_cast<long long>(request.years.size()));
    // The candidates' share is counted only when it shares the bar with the target's years.
    if (request.targets) weights.push_back(request.targetYears ? eligiblePairs(request, candidates) : 1);
    StepFeedback steps(feedback, ProgressStage::Hindcasts, weights);
    // One step alone reports its own counts, as it did before it was a step.
    Feedback& watcher = weights.size() > 1 ? static_cast<Feedback&>(steps) : feedback;
    HindcastResult out;
    if (request.targetYears) {
        steps.beginStep(0);
        out.years = engine::runHindcast(engineRequest(request), request.years, watcher);
        if (targetDone) targetDone(out.years);
    }
    if (request.targets) {
        steps.beginStep(weights.size() - 1);
        engine::AllSpeciesRequest all;
        all.base = engineRequest(request);
        all.targets = candidates;
        all.years = request.years;
        all.rules = request.rules;
        all.threads = threadCountOf(request.settings.get(Setting::Threads)).value_or(1);
        out.all = engine::runAllSpeciesHindcast(all, watcher);
    }
    if (weights.size() > 1) steps.finish();
    return out;
}

std::string batchUsageText(const Diagnostic& refusal) {
    const std::string& text = refusal.text;
    switch (refusal.kind) {
        case DiagnosticKind::NoHindcastTarget:
            return "option --hindcast needs a target species (-t NAME) or --hindcast-targets";
        case DiagnosticKind::UnknownTarget:
            return "option --hindcast-targets: " + text;
        case DiagnosticKind::BadYear:
            return "option --hindcast: " + text;
        case DiagnosticKind::BadThreadCount:
            return "option --threads" + text.substr(std::min(text.size(), kThreadWords.size()));
        case DiagnosticKind::BadEligibilityRule:
            for (const Param id : {Param::HindcastMinBefore, Param::HindcastMinAfter, Param::HindcastMinUnreached}) {
                const Parameter& p = parameter(id);
                const std::string words = std::string(kRuleWords) + std::string(p.name);
                if (text.rfind(words, 0) == 0)
                    return "option " + std::string(p.spelling.flag) + text.substr(words.size());
            }
            return text;
        default:
            return text;
    }
}

std::string windowText(const Diagnostic& refusal) {
    if (refusal.kind == DiagnosticKind::NoHindcastTarget)
        return "A hindcast needs a target species: run a forecast with a target species first.";
    return refusal.text;
}

}  // namespace el::ops
