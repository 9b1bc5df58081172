#include "workbench/hindcast_risk.hpp"

#include <QTableWidget>

#include <array>

#include "engine/model/run_error.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/hindcast_figure.hpp"

namespace el::workbench {
namespace {

std::array<const engine::RiskFigure*, 6> figuresOf(const engine::RiskHindcastRow& row) {
    return {&row.auc, &row.brier, &row.baseBrier, &row.brierSkill, &row.calibrationSlope, &row.calibrationIntercept};
}

QString qText(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

HindcastRiskMade makeHindcastRisk(const engine::RiskHindcastRequest& request, Feedback& feedback) {
    try {
        return {engine::runRiskHindcast(request, feedback), {}};
    } catch (const engine::RunError& error) {
        return {std::nullopt,
                std::string("The risk of a first record cannot be made for the hindcast: ") + error.what()};
    } catch (const Cancelled&) {
        return {std::nullopt, "The risk of a first record was stopped: the hindcast's figures stand without it."};
    }
}

QStringList riskFigureTitles() {
    QStringList titles;
    for (const std::string& name : engine::riskFigureColumns()) titles << qText(name);
    return titles;
}

void fillRiskCells(QTableWidget* table, int at, int first, const engine::RiskHindcastRow& row) {
    int column = first;
    for (const engine::RiskFigure* figure : figuresOf(row)) {
        auto* item =
            new QTableWidgetItem(figure->value ? qText(figures::figureText(figure->value)) : QStringLiteral("null"));
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (!figure->value) item->setToolTip(qText(figure->reason));
        table->setItem(at, column++, item);
    }
}

QString riskReasonsText(const engine::RiskHindcastRow& row, bool withSpecies) {
    const std::vector<std::string> names = engine::riskFigureColumns();
    const auto figures = figuresOf(row);
    // The reasons in the order their first figure stands, each with the figures it holds back.
    std::vector<std::pair<std::string, QStringList>> reasons;
    for (std::size_t f = 0; f < figures.size(); ++f) {
        if (figures[f]->value) continue;
        auto it = reasons.begin();
        while (it != reasons.end() && it->first != figures[f]->reason) ++it;
        if (it == reasons.end()) it = reasons.insert(reasons.end(), {figures[f]->reason, {}});
        it->second << qText(names[f]);
    }
    if (reasons.empty()) return {};
    QString head = qText(figures::shortNumber(row.year));
    if (withSpecies) head += QStringLiteral(", ") + qText(row.species);
    QStringList parts;
    for (const auto& [reason, held] : reasons)
        parts << held.join(QStringLiteral(", ")) + QStringLiteral(": ") +
                     (reason.empty() ? QStringLiteral("cannot be computed") : qText(reason));
    return head + QStringLiteral(": ") + parts.join(QStringLiteral("; "));
}

int rowsMissingFigures(const engine::RiskHindcast& hindcast) {
    int missing = 0;
    for (const engine::RiskHindcastRow& row : hindcast.rows) {
        bool any = false;
        for (const engine::RiskFigure* figure : figuresOf(row)) any = any || !figure->value;
        missing += any ? 1 : 0;
    }
    return missing;
}

}  // namespace el::workbench
