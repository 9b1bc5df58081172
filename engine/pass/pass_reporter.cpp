#include "engine/pass/pass_reporter.hpp"

#include "engine/pass/pass_report.hpp"
#include "engine/report/report_results.hpp"

namespace el::engine {

StageReport StageReporter::report(PassStage stage, const PassOutcome& outcome) {
    if (stage == PassStage::Started) targetText_ = settings_.setting(Setting::TargetSpecies);
    StageReport report{passStageLines(stage, outcome, {input_, reportMode_, targetText_}), std::nullopt};
    if (stage != PassStage::SpeciesFitted) return report;
    const bool isTarget = static_cast<int>(outcome.species.size()) - 1 == input_.targetIndex();
    if (!isTarget || !isOn(settings_, Setting::ExamineWeight)) return report;
    const SpeciesFit& fit = outcome.species.back().fit;
    report.weightTest = WeightTestEntry{weightTestLine(targetText_, outcome.p1, outcome.p2, fit),
                                       weightTestCaption(targetText_, outcome.p1, outcome.p2, fit),
                                       {outcome.p1, outcome.p2, fit.rt, fit.rv, fit.rw}};
    return report;
}

void PassLogWriter::show(const StageReport& report) {
    for (const auto& line : report.lines) log_.appendLog(line);
    if (!report.weightTest || !weightTest_) return;
    weightTest_->writeLine(report.weightTest->line);
    grid_.push_back(report.weightTest->cell);
    feedback_.caption(Label::Status, report.weightTest->caption);
    if (!passCaption_.empty()) feedback_.caption(Label::RunProgress, passCaption_);
    feedback_.checkpoint();
}

void StageRecorder::stageDone(PassStage stage, const PassOutcome& outcome) {
    StageReport report = stages_.report(stage, outcome);
    if (!report.lines.empty() || report.weightTest) reports_.push_back(std::move(report));
}

}  // namespace el::engine
