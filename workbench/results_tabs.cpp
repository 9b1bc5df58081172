#include "workbench/results_tabs.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "base/numtext.hpp"
#include "engine/run/skill.hpp"
#include "figures/fit_figure.hpp"
#include "ops/input_review.hpp"
#include "ops/output_refusals.hpp"
#include "workbench/figure_view.hpp"
#include "workbench/hindcast_page.hpp"
#include "workbench/risk_control.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/table_page.hpp"

namespace el::workbench {
namespace {

// The colouring list's codes beside the species positions: -2 region score, -3 actual
// date, and the target's recorded and forecast dates.
constexpr int kKnownAndForecastCode = -4;
constexpr int kRiskCode = -5;  // the target's risk of a first record

constexpr const char* kNoWeightExamination = "The last run did not examine the weights (\"examine weight\" was off)";

// What the Fit tab says above the plot of a target whose dates cannot be trusted: that its
// forecast has no skill, and how many regions not reached yet are overdue. Empty otherwise.
QString skillNote(const vec::VectorData& data, const engine::RunResult& run) {
    const auto skill = engine::targetSkill(data, run);
    if (!skill) return {};
    QStringList lines;
    const QString name = QString::fromStdString(skill->species);
    if (skill->noSkill)
        lines << name + QStringLiteral(": ") + QString::fromUtf8(engine::kNoSkillSentence.data(),
                                                                  static_cast<qsizetype>(engine::kNoSkillSentence.size())) +
                     QStringLiteral(".");
    if (skill->overdue && *skill->overdue > 0 && skill->latestDate)
        lines << QStringLiteral("Overdue: %1 of the %2 regions %3 has not reached are predicted no later than its latest date, %4.")
                     .arg(*skill->overdue)
                     .arg(skill->notYetArrived)
                     .arg(name, QString::fromStdString(decimalnum(*skill->latestDate)));
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

ResultsTabs::ResultsTabs(QListWidget* log, QWidget* parent) : QWidget(parent), tabs_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("ResultsTabs"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(tabs_, 1);
    tabs_->setDocumentMode(true);
    tabs_->setUsesScrollButtons(false);
    tabs_->addTab(log, QStringLiteral("Log"));
    QWidget* mapPage = figurePage(MapTab, mapView_, {&mapChoice_}, QStringLiteral("map"));
    tabs_->addTab(mapPage, QStringLiteral("Map"));
    tabs_->addTab(figurePage(FitTab, fitView_, {}, QStringLiteral("fit")), QStringLiteral("Fit"));
    tabs_->addTab(figurePage(WeightsTab, weightView_, {&measureChoice_}, QStringLiteral("weights")),
                  QStringLiteral("Weights"));
    tabs_->addTab(table_ = new TablePage(this), QStringLiteral("Table"));
    tabs_->addTab(hindcast_ = new HindcastPage(this), QStringLiteral("Hindcast"));
    mapView_->setObjectName(QStringLiteral("MapView"));
    fitView_->setObjectName(QStringLiteral("FitView"));
    weightView_->setObjectName(QStringLiteral("WeightView"));
    for (const char* m : {"training & validation", "training", "validation"})
        measureChoice_->addItem(QString::fromLatin1(m));
    // The orientation has a row of its own: beside the colouring it would squeeze its text.
    orientation_ = new QComboBox(mapPage);
    orientation_->setObjectName(QStringLiteral("MapOrientation"));
    orientation_->addItems({QStringLiteral("north up"), QStringLiteral("y grows downwards")});
    mapNames_ = new QCheckBox(QStringLiteral("names"), mapPage);
    mapNames_->setObjectName(QStringLiteral("MapNames"));
    auto* orientationRow = new QHBoxLayout;
    orientationRow->addWidget(orientation_);
    orientationRow->addWidget(mapNames_);
    orientationRow->addStretch();
    static_cast<QVBoxLayout*>(mapPage->layout())->insertLayout(1, orientationRow);
    connect(mapChoice_, &QComboBox::currentIndexChanged, this, [this] { redrawMap(); });
    connect(orientation_, &QComboBox::currentIndexChanged, this, [this] { redrawMap(); });
    connect(mapNames_, &QCheckBox::toggled, this, [this] { redrawMap(); });
    connect(measureChoice_, &QComboBox::currentIndexChanged, this, [this] { redrawWeights(); });

    // The input's warnings of the latest run, above the progress bar; hidden when there are none.
    inputWarnings_ = new QLabel(this);
    inputWarnings_->setObjectName(QStringLiteral("InputWarnings"));
    inputWarnings_->setWordWrap(true);
    inputWarnings_->setVisible(false);
    layout->addWidget(inputWarnings_);
    riskControl_ = new RiskControl(this);
    hindcast_->setRiskControl(riskControl_);
    layout->addWidget(riskControl_);
    progress_ = new RunProgressPanel(this);
    layout->addWidget(progress_);
    tabs_->setCurrentIndex(LogTab);
}

QWidget* ResultsTabs::figurePage(Tab tab, FigureView*& view, std::initializer_list<QComboBox**> choices,
                                 const QString& name) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 2, 0, 0);
    auto* bar = new QHBoxLayout;
    for (QComboBox** choice : choices) {
        *choice = new QComboBox(page);
        (*choice)->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        bar->addWidget(*choice);
    }
    bar->addStretch();
    auto* exportButton = new QPushButton(QStringLiteral("Export..."), page);
    bar->addWidget(exportButton);
    layout->addLayout(bar);
    auto* note = new QLabel(page);
    note->setObjectName(name + QStringLiteral("Note"));
    note->setWordWrap(true);
    notes_[tab] = note;
    layout->addWidget(note);
    view = new FigureView(page);
    layout->addWidget(view, 1);
    FigureView* shown = view;
    connect(exportButton, &QPushButton::clicked, this, [this, shown, name] {
        const QString error = exportFigure(this, *shown, name);
        if (!error.isEmpty()) QMessageBox::warning(this, QStringLiteral("Export"), error);
    });
    return page;
}

void ResultsTabs::showInputWarnings(ops::Diagnostics warnings) {
    shownWarnings_ = std::move(warnings);
    QStringList lines;
    for (const std::string& text : ops::consoleTexts(shownWarnings_)) lines << QString::fromStdString(text);
    inputWarnings_->setText(lines.join(QLatin1Char('\n')));
    inputWarnings_->setVisible(!lines.isEmpty());
}

QString ResultsTabs::note(Tab tab) const { return notes_[tab] ? notes_[tab]->text() : QString(); }

bool ResultsTabs::mapYDown() const { return orientation_->currentIndex() == 1; }

std::optional<ops::Diagnostic> ResultsTabs::mapRefusal() const {
    if (!data_) return std::nullopt;
    return ops::mapRefusal("", *data_, ops::kWindowRegionsWords);
}

void ResultsTabs::setNotes(const QString& map, const QString& fit, const QString& weights) {
    const auto refusal = mapRefusal();
    const QString mapNote = refusal ? QString::fromStdString(refusal->text) : map;
    const std::array<std::pair<Tab, QString>, 3> texts{{{MapTab, mapNote}, {FitTab, fit}, {WeightsTab, weights}}};
    for (const auto& [tab, text] : texts) {
        notes_[tab]->setText(text);
        notes_[tab]->setVisible(!text.isEmpty());
    }
}

// The map shows the regions of `shown`, if any, coloured by `run`, if any; no other figure yet.
void ResultsTabs::resetFigures(std::shared_ptr<const vec::VectorData> shown,
                               std::shared_ptr<const engine::RunResult> run) {
    data_ = std::move(shown);
    run_ = std::move(run);
    risk_.reset();
    riskControl_->showCheck(nullptr, {});
    fillMapChoice();
    redrawMap();
    fitView_->setBuilder({});
    weightView_->setBuilder({});
}

void ResultsTabs::clear(const QString& why) { showData(nullptr, why); }

void ResultsTabs::showData(std::shared_ptr<const vec::VectorData> shown, const QString& why) {
    resetFigures(std::move(shown), nullptr);
    setNotes(why, why, why);
    table_->clear(why);
    hindcast_->clear(why);
}

void ResultsTabs::showRun(std::shared_ptr<const vec::VectorData> shown, std::shared_ptr<const engine::RunResult> run,
                          std::shared_ptr<const engine::RiskResult> risk, const QString& riskNote) {
    resetFigures(std::move(shown), std::move(run));
    if (risk) {
        risk_ = std::move(risk);
        fillMapChoice();
        redrawMap();
    }
    fitView_->setBuilder([run = run_](double w, double h) { return figures::buildFitPlot(*run, w, h); });
    table_->showRun(data_, *run_, risk_.get(), riskNote);
    riskControl_->showCheck(risk_.get(), riskNote);
    hindcast_->showRun(data_, *run_);
    const QString fitNote = data_ ? skillNote(*data_, *run_) : QString();
    if (!run_->examinedWeights) {
        setNotes({}, fitNote, QString::fromLatin1(kNoWeightExamination));
        return;
    }
    grid_ = figures::weightGridOf(*run_);
    setNotes({}, fitNote, {});
    redrawWeights();
}

void ResultsTabs::fillMapChoice() {
    mapChoice_->blockSignals(true);
    mapChoice_->clear();
    if (run_) {
        if (run_->target >= 0)
            mapChoice_->addItem(QStringLiteral("Recorded and forecast: ") +
                                    QString::fromStdString(run_->speciesNames[static_cast<std::size_t>(run_->target)]),
                                kKnownAndForecastCode);
        for (std::size_t s = 0; s < run_->speciesNames.size(); ++s)
            mapChoice_->addItem(QStringLiteral("Predicted date: ") + QString::fromStdString(run_->speciesNames[s]),
                                static_cast<int>(s));
        mapChoice_->addItem(QStringLiteral("Region score"), -2);
        if (run_->target >= 0) mapChoice_->addItem(QStringLiteral("Actual date of the target"), -3);
        if (risk_)
            mapChoice_->addItem(
                QStringLiteral("Risk of a first record within %1 years: %2")
                    .arg(QString::fromStdString(plainnum(risk_->horizon)), QString::fromStdString(risk_->target)),
                kRiskCode);
        mapChoice_->setCurrentIndex(0);
    }
    mapChoice_->blockSignals(false);
}

figures::MapChoice ResultsTabs::mapChoice() const {
    figures::MapChoice choice;
    const int code = mapChoice_->currentData().isValid() ? mapChoice_->currentData().toInt() : -1;
    if (code == -2) choice.colouring = figures::MapColouring::RegionScore;
    else if (code == -3) choice.colouring = figures::MapColouring::ActualDate;
    else if (code == kKnownAndForecastCode) choice.colouring = figures::MapColouring::KnownAndForecast;
    else if (code == kRiskCode) choice = {figures::MapColouring::Risk, -1, risk_.get()};
    else choice.species = code;
    return choice;
}

figures::MapOptions ResultsTabs::mapOptions() const {
    figures::MapOptions options;
    options.yDown = mapYDown();
    options.labels = mapNames_->isChecked();
    return options;
}

void ResultsTabs::redrawMap() {
    // Regions stacked at one stand-in place make no map: the note says why instead.
    if (!data_ || mapRefusal()) {
        mapView_->setBuilder({});
        return;
    }
    // Without a run the map is drawn as for a run with no results.
    static const auto kNoRun = std::make_shared<const engine::RunResult>();
    // The risk map's choice points into risk_: the builder holds it too.
    mapView_->setBuilder([data = data_, run = run_ ? run_ : kNoRun, risk = risk_, choice = mapChoice(),
                          options = mapOptions()](double w, double h) {
        figures::MapChoice drawn = choice;
        if (drawn.colouring == figures::MapColouring::Risk) drawn.risk = risk.get();
        return figures::buildMap(*data, *run, drawn, w, h, options);
    });
}

void ResultsTabs::redrawWeights() {
    if (!run_ || !run_->examinedWeights) return;
    const int i = measureChoice_->currentIndex();
    const auto measure = i == 1 ? figures::GridMeasure::Training
                                : i == 2 ? figures::GridMeasure::Validation : figures::GridMeasure::Whole;
    weightView_->setBuilder([grid = grid_, measure](double w, double h) { return figures::buildWeightGridPlot(grid, measure, w, h); });
}

}  // namespace el::workbench
