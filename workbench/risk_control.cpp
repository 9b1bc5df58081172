#include "workbench/risk_control.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QStringList>
#include <QVBoxLayout>

#include <cmath>

#include "base/numtext.hpp"
#include "base/parameters.hpp"
#include "engine/model/run_error.hpp"
#include "engine/risk/risk.hpp"
#include "engine/risk/risk_sentences.hpp"

namespace el::workbench {

RiskControl::RiskControl(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RiskControl"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    auto* row = new QHBoxLayout;
    column->addLayout(row);
    on_ = new QCheckBox(QStringLiteral("Risk of a first record within"), this);
    on_->setObjectName(QStringLiteral("RiskOn"));
    on_->setToolTip(
        QStringLiteral("After a run with a target species: the probability of a first record within H "
                       "years in every region it has not reached, in the Table and on the Map"));
    field_ = new QLineEdit(QString::fromStdString(std::string(parameter(Param::RiskHorizon).defaultValue)), this);
    field_->setObjectName(QStringLiteral("RiskHorizon"));
    field_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
    field_->setEnabled(false);
    row->addWidget(on_);
    row->addWidget(field_);
    row->addWidget(new QLabel(QStringLiteral("years"), this));
    row->addStretch();
    check_ = new QLabel(this);
    check_->setObjectName(QStringLiteral("RiskCheck"));
    check_->setWordWrap(true);
    check_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // At most a few lines high, scrolled beyond: the map above keeps its room.
    checkArea_ = new QScrollArea(this);
    checkArea_->setFrameShape(QFrame::NoFrame);
    checkArea_->setWidgetResizable(true);
    checkArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    checkArea_->setWidget(check_);
    checkArea_->setMaximumHeight(fontMetrics().lineSpacing() * 3 + 4);
    checkArea_->hide();
    column->addWidget(checkArea_);
    connect(on_, &QCheckBox::toggled, field_, &QLineEdit::setEnabled);
}

void RiskControl::showCheck(const engine::RiskResult* risk, const QString& why) {
    QStringList parts;
    if (risk != nullptr) {
        for (const std::string& sentence : risk->sentences) parts << QString::fromStdString(sentence);
        for (const std::string& note : risk->notes) parts << QString::fromStdString(engine::riskNoteSentence(note));
    }
    if (!why.isEmpty()) parts << why;
    check_->setText(parts.join(QLatin1Char(' ')));
    checkArea_->setVisible(!parts.isEmpty());
}

QString RiskControl::checkText() const { return check_->text(); }

std::optional<double> RiskControl::horizon() const {
    if (!on_->isChecked()) return std::nullopt;
    const auto years = parseNumber(field_->text().trimmed().toStdString());
    if (!years || !std::isfinite(*years) || *years <= 0) return std::nullopt;
    return years;
}

std::string RiskControl::problem() const {
    if (!on_->isChecked() || horizon()) return {};
    return "The risk of a first record takes a number of years above 0, not \"" +
           field_->text().trimmed().toStdString() + "\"";
}

RiskAfterRun riskAfterRun(const vec::VectorData& data, const engine::RunResult& run, const SettingValues& given,
                          double horizon, const std::string& missvalue, const std::string& date, Feedback& feedback) {
    if (run.status != engine::RunStatus::Completed || run.examinedWeights) return {};
    if (run.target < 0) return {nullptr, "No risk of a first record: the run had no target species."};
    engine::RiskRequest request;
    request.basis.data = &data;
    request.basis.species = run.speciesNames;
    request.basis.horizon = horizon;
    request.basis.missvalue = missvalue;
    request.basis.calculationDate = date;
    request.basis.settings = given;
    request.basis.threads = threadCountOf(given.get(Setting::Threads)).value_or(1);
    request.target = run.speciesNames[static_cast<std::size_t>(run.target)];
    try {
        return {std::make_shared<const engine::RiskResult>(engine::computeRisk(request, feedback)), {}};
    } catch (const engine::RunError& error) {
        return {nullptr, std::string("The risk of a first record cannot be made: ") + error.what()};
    } catch (const Cancelled&) {
        return {nullptr, "The risk of a first record was cancelled: the run's results stand without it."};
    }
}

}  // namespace el::workbench
