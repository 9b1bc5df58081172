#include "engine/pass/pass_report.hpp"

#include <utility>

#include "base/numtext.hpp"
#include "engine/report/report_results.hpp"

namespace el::engine {
namespace {

struct PassReportContext {
    const PassInput& input;
    bool reportMode = true;         // an examine-weight run writes only what was asked for on top
    const std::string& targetText;  // the target species text as the pass began
};

void append(LogLines& lines, const LogLines& more) { lines.insert(lines.end(), more.begin(), more.end()); }

// The block of species `j`: one row per used region in file order.
SpeciesBlock speciesBlock(const PassOutcome& out, const PassReportContext& cx, int j) {
    const PassInput& in = cx.input;
    const SpeciesOutcome& species = out.species[static_cast<std::size_t>(j)];
    const SpeciesFit& fit = species.fit;
    const bool isTarget = j == in.targetIndex();
    SpeciesBlock block{
        in.table.name[static_cast<std::size_t>(j)], isTarget, fit, species.scale * out.trials.vectorshift, {}};
    std::vector<int> positionOf(static_cast<std::size_t>(in.status.regions), -1);
    for (int p = 0; p < out.used.size(); ++p)
        positionOf[static_cast<std::size_t>(out.used.regno[static_cast<std::size_t>(p)])] = p;
    for (int k = 0; k < in.status.regions; ++k) {
        const int p = positionOf[static_cast<std::size_t>(k)];
        if (p < 0) continue;
        const double sd = out.trials.eigensd[static_cast<std::size_t>(k)];
        block.rows.push_back(
            {in.regionNames[static_cast<std::size_t>(k)], in.status.at(k, j),
             fit.predictable ? species.predicted[static_cast<std::size_t>(p)] : out.score[static_cast<std::size_t>(p)],
             isTarget ? in.status.actualText[static_cast<std::size_t>(k)] : std::string(),
             fit.predictable ? species.scale * sd : sd});
    }
    return block;
}

LogLines scoredLines(const PassOutcome& out) {
    LogLines lines = scoreTableLines(out.used.name, out.score, out.order, byPosition(out.trials.eigenmean, out.used.regno),
                                     byPosition(out.trials.eigensd, out.used.regno));
    append(lines, correlationHeadLines());
    return lines;
}

LogLines speciesLines(const PassOutcome& out, const PassReportContext& cx) {
    const int j = static_cast<int>(out.species.size()) - 1;
    const int target = cx.input.targetIndex();
    if (!cx.reportMode || (target >= 0 && j != target)) return {};
    return speciesBlockLines(speciesBlock(out, cx, j));
}

LogLines finishedLines(const PassOutcome& out, const PassReportContext& cx) {
    LogLines lines = cx.reportMode ? closingNoteLines() : LogLines{};
    if (out.matrixListing) append(lines, adjustedMatrixLines(out.matrix, out.used.name, out.order));
    return lines;
}

// The lines `stage` adds to the log. The similarity matrices and the adjusted matrix come
// whenever they were asked for; everything else only in report mode.
LogLines passStageLines(PassStage stage, const PassOutcome& outcome, const PassReportContext& context) {
    const PassInput& in = context.input;
    const bool report = context.reportMode;
    switch (stage) {
    case PassStage::Started: return report ? powerLines(outcome.p1, outcome.p2) : LogLines{};
    case PassStage::Weighted: {
        LogLines lines = report ? weightLines(outcome.weights, in.table.name, context.targetText) : LogLines{};
        if (outcome.similarity && outcome.similarityCounts != nullptr)
            append(lines, similarityLines(*outcome.similarityCounts, in.table.name, *outcome.similarity));
        return lines;
    }
    case PassStage::Excluded: return report ? regionCountLines(in.status.regions, outcome.used.size()) : LogLines{};
    case PassStage::Scored: return report ? scoredLines(outcome) : LogLines{};
    case PassStage::SpeciesFitted: return speciesLines(outcome, context);
    case PassStage::Finished: return finishedLines(outcome, context);
    }
    return {};
}

}  // namespace

void PassReport::stageDone(PassStage stage, const PassOutcome& outcome) {
    Piece made = piece(stage, outcome);
    if (showNow_ != nullptr) return showNow_->show(made);
    if (!made.lines.empty() || made.weightTest) kept_.push_back(std::move(made));
}

PassReport::Piece PassReport::piece(PassStage stage, const PassOutcome& outcome) {
    if (stage == PassStage::Started) targetText_ = settings_.setting(Setting::TargetSpecies);
    Piece made{passStageLines(stage, outcome, {input_, reportMode_, targetText_}), std::nullopt};
    if (stage != PassStage::SpeciesFitted) return made;
    const bool isTarget = static_cast<int>(outcome.species.size()) - 1 == input_.targetIndex();
    if (!isTarget || !isOn(settings_, Setting::ExamineWeight)) return made;
    const SpeciesFit& fit = outcome.species.back().fit;
    made.weightTest = WeightTestEntry{weightTestLine(targetText_, outcome.p1, outcome.p2, fit),
                                      weightTestCaption(targetText_, outcome.p1, outcome.p2, fit),
                                      {outcome.p1, outcome.p2, fit.rt, fit.rv, fit.rw}};
    return made;
}

void PassLogWriter::show(const PassReport::Piece& piece) {
    for (const auto& line : piece.lines) log_.appendLog(line);
    if (!piece.weightTest || !weightTest_) return;
    weightTest_->writeLine(piece.weightTest->line);
    grid_.push_back(piece.weightTest->cell);
    feedback_.caption(Label::Status, piece.weightTest->caption);
    if (!passCaption_.empty()) feedback_.caption(Label::RunProgress, passCaption_);
    feedback_.checkpoint();
}

std::vector<std::vector<std::string>> predictionTexts(const PassOutcome& outcome) {
    std::vector<std::vector<std::string>> table;
    table.reserve(outcome.species.size());
    for (const SpeciesOutcome& species : outcome.species) {
        std::vector<std::string> row;
        row.reserve(outcome.score.size());
        for (std::size_t p = 0; p < outcome.score.size(); ++p)
            row.push_back(species.fit.predictable ? strnum(species.predicted[p]) : std::string("Unpredictable"));
        table.push_back(std::move(row));
    }
    return table;
}

}  // namespace el::engine
