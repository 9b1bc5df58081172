#include "workbench/hindcast_page.hpp"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <utility>

#include "base/calc_date.hpp"
#include "base/numtext.hpp"
#include "base/parameters.hpp"
#include "base/text.hpp"
#include "engine/hindcast/hindcast_columns.hpp"
#include "engine/model/run_error.hpp"
#include "figures/axis_ticks.hpp"
#include "figures/hindcast_figure.hpp"
#include "ops/forecast.hpp"
#include "ops/hindcast.hpp"
#include "ops/risk_outputs.hpp"
#include "workbench/figure_view.hpp"
#include "workbench/hindcast_risk.hpp"
#include "workbench/risk_control.hpp"

namespace el::workbench {

// What a hindcast leaves for the window: written by its thread, read once it has ended.
struct HindcastPage::Outcome {
    std::vector<engine::HindcastYear> years;
    std::optional<engine::AllSpeciesHindcast> all;
    std::string error;
    bool cancelled = false;
};

namespace {

constexpr const char* kButton = "Hindcast";
constexpr const char* kStopButton = "Stop";
QString titleOf(const engine::HindcastColumn& column) {
    return QString::fromUtf8(column.title.data(), static_cast<qsizetype>(column.title.size()));
}

QStringList columnTitles() {
    QStringList titles{titleOf(engine::kHindcastYearColumn)};
    for (const engine::HindcastColumn& column : engine::kHindcastFigureColumns) titles.append(titleOf(column));
    return titles;
}

// The table's row of one hindcast's figures, after `first` (the year, and the species).
QStringList figureTexts(QStringList first, bool ran, const engine::HindcastFigures& f);

QString cellText(const std::optional<double>& value, bool decimals) {
    if (!value) return QStringLiteral("null");
    return QString::fromStdString(decimals ? figures::figureText(value) : figures::meanErrorText(*value));
}

QStringList figureTexts(QStringList first, bool ran, const engine::HindcastFigures& f) {
    return first << (ran ? QString::number(f.reachedLater) : QStringLiteral("null"))
                 << (ran ? QString::number(f.notReached) : QStringLiteral("null")) << cellText(f.auc, true)
                 << cellText(f.spearman, true) << cellText(f.mae, false) << cellText(f.distanceAuc, true)
                 << cellText(f.distanceSpearman, true);
}

void fillRow(QTableWidget* table, int row, const QStringList& texts, const std::string& error) {
    for (int c = 0; c < texts.size(); ++c) {
        auto* item = new QTableWidgetItem(texts[c]);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (!error.empty()) item->setToolTip(QString::fromStdString(error));
        table->setItem(row, c, item);
    }
}

}  // namespace

HindcastPage::HindcastPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("HindcastPage"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("Cut-off year(s):"), this));
    yearField_ = new QLineEdit(this);
    yearField_->setObjectName(QStringLiteral("HindcastYears"));
    yearField_->setPlaceholderText(QStringLiteral("e.g. 2008,2012"));
    bar->addWidget(yearField_, 1);
    allSpecies_ = new QCheckBox(QStringLiteral("All species"), this);
    allSpecies_->setObjectName(QStringLiteral("HindcastAllSpecies"));
    allSpecies_->setToolTip(
        QStringLiteral("Each species with at least %1 regions dated up to the year, %2 after it and %3 "
                       "never reached becomes the target in turn")
            .arg(wholeDefault(Param::HindcastMinBefore))
            .arg(wholeDefault(Param::HindcastMinAfter))
            .arg(wholeDefault(Param::HindcastMinUnreached)));
    bar->addWidget(allSpecies_);
    button_ = new QPushButton(QString::fromLatin1(kButton), this);
    button_->setObjectName(QStringLiteral("HindcastButton"));
    bar->addWidget(button_);
    auto* exportButton = new QPushButton(QStringLiteral("Export..."), this);
    bar->addWidget(exportButton);
    layout->addLayout(bar);
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    layout->addWidget(note_);
    riskWhy_ = new QLabel(this);
    riskWhy_->setObjectName(QStringLiteral("HindcastRiskReasons"));
    riskWhy_->setWordWrap(true);
    riskWhy_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    riskWhy_->hide();
    layout->addWidget(riskWhy_);
    layout->addWidget(makeTableAndPlot(), 1);
    link_.message = [this](const QString& text) { QMessageBox::warning(this, QStringLiteral("Kalvendrosia"), text); };

    connect(button_, &QPushButton::clicked, this, &HindcastPage::pressButton);
    connect(yearField_, &QLineEdit::returnPressed, this, [this] {
        if (!active()) pressButton();
    });
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString error = exportFigure(this, *view_, QStringLiteral("hindcast"));
        if (!error.isEmpty()) link_.message(error);
    });
    connect(table_, &QTableWidget::currentCellChanged, this, [this](int row) {
        showPlot(row);
        showRiskReasons(row);
    });
    clear(QStringLiteral("No run has completed yet: a hindcast starts from the latest completed run."));
}

HindcastPage::~HindcastPage() { stopWork(); }

QSplitter* HindcastPage::makeTableAndPlot() {
    auto* split = new QSplitter(Qt::Vertical, this);
    table_ = new QTableWidget(0, static_cast<int>(columnTitles().size()), split);
    table_->setHorizontalHeaderLabels(columnTitles());
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_ = new FigureView(split);
    view_->setObjectName(QStringLiteral("HindcastView"));
    split->setStretchFactor(1, 3);
    // The table needs its header and a few years; the plot takes the rest, so that it reads at
    // the window's start-up size.
    split->setSizes({90, 310});
    return split;
}

void HindcastPage::clear(const QString& why) {
    const bool dropped = stopWork();
    data_.reset();
    species_.clear();
    target_.clear();
    years_.clear();
    all_ = {};
    risk_.reset();
    showYears();
    note_->setText(why);
    button_->setEnabled(false);
    if (dropped) tellDropped();
}

void HindcastPage::showRun(std::shared_ptr<const vec::VectorData> runData, const engine::RunResult& run) {
    const bool dropped = stopWork();
    data_ = std::move(runData);
    species_ = run.speciesNames;
    target_ = run.target >= 0 ? run.speciesNames[static_cast<std::size_t>(run.target)] : std::string();
    years_.clear();
    all_ = {};
    risk_.reset();
    showYears();
    note_->setText(target_.empty() ? QStringLiteral("The latest run had no target species: a hindcast needs one, or \"All species\".")
                                   : QStringLiteral("Hindcast of %1: forecasts from the data up to each year, scored on "
                                                    "the arrivals after it.").arg(QString::fromStdString(target_)));
    button_->setEnabled(true);
    if (dropped) tellDropped();
}

void HindcastPage::tellDropped() {
    const QString text = QStringLiteral("The hindcast at work was stopped: its run is no longer the one shown.");
    note_->setText(text + QLatin1Char(' ') + note_->text());
    emit dropped(text);
}

void HindcastPage::pressButton() {
    if (active()) {
        step_.requestStop();
        return;
    }
    if (!askRisk()) return;
    if (start()) {
        button_->setText(QString::fromLatin1(kStopButton));
        note_->setText(QStringLiteral("Hindcast at work..."));
    }
}

bool HindcastPage::start() {
    if (!data_) return false;
    const bool all = allSpecies_->isChecked();
    ops::HindcastRequest request;
    request.data = data_.get();
    request.species = species_;
    request.calculationDate = calculationDate();
    if (link_.settings) request.settings = link_.settings();
    request.targetYears = !all;
    if (all) request.targets = std::vector<std::string>{"all"};
    else request.settings.set(Setting::TargetSpecies, target_);  // the target of the run the page shows
    const ops::TypedYears typed = ops::readYears(yearField_->text().trimmed().toStdString());
    request.years = typed.years;
    const ops::Diagnostics checked = ops::checkHindcast(request, &typed);
    if (const ops::Diagnostic* refusal = ops::firstRefusal(checked)) {
        link_.message(QString::fromStdString(ops::windowText(*refusal)));
        return false;
    }
    workSettings_.refresh(request.settings);
    auto outcome = std::make_shared<Outcome>();
    step_.start(
        [outcome, data = data_, request](WorkerHooks& hooks) {
            try {
                ops::HindcastResult made = ops::hindcast(request, hooks);
                outcome->years = std::move(made.years);
                outcome->all = std::move(made.all);
            } catch (const Cancelled&) {
                outcome->cancelled = true;
            } catch (const std::exception& error) {
                outcome->error = error.what();
            }
        },
        [this, outcome] { finish(*outcome); });
    return true;
}

StepDisplay HindcastPage::stepDisplay() {
    return {[this](const WorkNews& news) { showProgress(news); }, [] { return true; },
            [this](const std::string& text) { link_.message(QString::fromStdString(text)); }};
}

// The hindcast counts its years; the runs of each year tell more, which the page does not show.
void HindcastPage::showProgress(const WorkNews& news) {
    if (!news.progress || news.progress->stage != ProgressStage::Hindcasts || news.progress->total <= 0) return;
    if (riskAtWork_) {
        note_->setText(QStringLiteral("Risk of a first record for the hindcast at work: %1 of %2 early-late runs done")
                           .arg(news.progress->done)
                           .arg(news.progress->total));
        return;
    }
    note_->setText(
        QStringLiteral("Hindcast at work: %1 of %2 %3 done")
            .arg(news.progress->done)
            .arg(news.progress->total)
            .arg(allSpecies_->isChecked() ? QStringLiteral("species and years") : QStringLiteral("years")));
}

void HindcastPage::finish(Outcome& outcome) {
    if (startRisk(outcome)) return;  // the figures are shown with their risk
    button_->setText(QString::fromLatin1(kButton));
    years_ = std::move(outcome.years);
    all_ = outcome.all ? std::move(*outcome.all) : engine::AllSpeciesHindcast();
    if (outcome.all) {
        showSpeciesRows();
        if (!outcome.cancelled && outcome.error.empty()) {
            note_->setText(
                QStringLiteral("Hindcast of every eligible species done: %1 species and years.").arg(all_.rows.size()) +
                riskNote());
            emit finished();
            return;
        }
    } else {
        showYears();
    }
    if (outcome.cancelled) note_->setText(QStringLiteral("The hindcast was stopped."));
    else if (!outcome.error.empty()) note_->setText(QString::fromStdString(outcome.error));
    else
        note_->setText(QStringLiteral("Hindcast of %1 done: choose a year in the table to see its plot.")
                           .arg(QString::fromStdString(target_)) +
                       riskNote());
    if (!outcome.error.empty()) link_.message(QString::fromStdString(outcome.error));
    emit finished();
}

bool HindcastPage::stopWork() {
    riskHorizon_.reset();
    riskAtWork_ = false;
    if (!step_.active()) return false;
    step_.stop();
    button_->setText(QString::fromLatin1(kButton));
    return true;
}

void HindcastPage::showYears() {
    QStringList titles = columnTitles();
    const int riskFrom = static_cast<int>(titles.size());
    if (risk_) titles << riskFigureTitles();
    table_->setColumnCount(static_cast<int>(titles.size()));
    table_->setHorizontalHeaderLabels(titles);
    table_->setRowCount(static_cast<int>(years_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const engine::HindcastYear& y = years_[static_cast<std::size_t>(row)];
        fillRow(table_, row, figureTexts({QString::fromStdString(figures::shortNumber(y.year))}, y.ran, y.figures), y.error);
        if (risk_) fillRiskCells(table_, row, riskFrom, risk_->rows[static_cast<std::size_t>(row)]);
    }
    table_->resizeColumnsToContents();
    if (years_.empty()) view_->setBuilder({});
    else table_->setCurrentCell(0, 0);
    showPlot(table_->currentRow());
    showRiskReasons(table_->currentRow());
}

// One row per species and year; the plot belongs to single-target hindcasts.
void HindcastPage::showSpeciesRows() {
    QStringList titles = columnTitles();
    titles.insert(1, titleOf(engine::kHindcastSpeciesColumn));
    const int riskFrom = static_cast<int>(titles.size());
    if (risk_) titles << riskFigureTitles();
    table_->setColumnCount(static_cast<int>(titles.size()));
    table_->setHorizontalHeaderLabels(titles);
    table_->setRowCount(static_cast<int>(all_.rows.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const engine::SpeciesHindcast& r = all_.rows[static_cast<std::size_t>(row)];
        const QStringList first{QString::fromStdString(figures::shortNumber(r.year)), QString::fromStdString(r.species)};
        fillRow(table_, row, figureTexts(first, r.ran, r.figures), r.error);
        if (risk_) fillRiskCells(table_, row, riskFrom, risk_->rows[static_cast<std::size_t>(row)]);
    }
    table_->resizeColumnsToContents();
    view_->setBuilder({});
    if (!all_.rows.empty()) table_->setCurrentCell(0, 0);
    showRiskReasons(table_->currentRow());
}

void HindcastPage::showPlot(int row) {
    if (!all_.rows.empty()) return;  // the table holds species, not years
    if (row < 0 || row >= static_cast<int>(years_.size()) || !data_) {
        view_->setBuilder({});
        return;
    }
    std::vector<std::string> names;
    for (const vec::VectorObject& object : data_->objects) names.push_back(object.name);
    view_->setBuilder([year = years_[static_cast<std::size_t>(row)], names](double w, double h) {
        return figures::buildHindcastPlot(year, names, w, h);
    });
}

bool HindcastPage::askRisk() {
    riskHorizon_.reset();
    risk_.reset();
    riskFailure_.clear();
    if (riskControl_ == nullptr) return true;
    if (const std::string problem = riskControl_->problem(); !problem.empty()) {
        link_.message(QString::fromStdString(problem));
        return false;
    }
    riskHorizon_ = riskControl_->horizon();
    return true;
}

bool HindcastPage::startRisk(Outcome& outcome) {
    const std::optional<double> horizon = std::exchange(riskHorizon_, std::nullopt);
    if (!horizon || outcome.cancelled || !outcome.error.empty() || !data_) return false;
    engine::RiskHindcastRequest request;
    request.basis.data = data_.get();
    request.basis.species = species_;
    request.basis.horizon = *horizon;
    request.basis.calculationDate = calculationDate();
    request.basis.settings = workSettings_.snapshot();  // the hindcast's own
    request.basis.threads = threadCountOf(request.basis.settings.get(Setting::Threads)).value_or(1);
    std::vector<double> years;
    for (const engine::HindcastYear& year : outcome.years) years.push_back(year.year);
    request.cases = ops::hindcastCases(outcome.all ? &*outcome.all : nullptr, years, target_);
    auto held = std::make_shared<Outcome>(std::move(outcome));
    auto made = std::make_shared<HindcastRiskMade>();
    riskAtWork_ = true;
    note_->setText(QStringLiteral("Risk of a first record for the hindcast at work..."));
    step_.start([made, data = data_, request](WorkerHooks& hooks) { *made = makeHindcastRisk(request, hooks); },
                [this, held, made] {
                    riskAtWork_ = false;
                    risk_ = std::move(made->hindcast);
                    riskFailure_ = std::move(made->failure);
                    finish(*held);
                });
    return true;
}

QString HindcastPage::riskNote() const {
    if (!riskFailure_.empty()) return QLatin1Char(' ') + QString::fromStdString(riskFailure_);
    if (!risk_) return {};
    QString text = QStringLiteral(
                       " The last %1 columns: the risk of a first record within %2 years, scored on what "
                       "happened.")
                       .arg(riskFigureTitles().size())
                       .arg(QString::fromStdString(figures::shortNumber(risk_->horizon)));
    if (const int missing = rowsMissingFigures(*risk_); missing > 0)
        text +=
            QStringLiteral(" %1 of %2 rows miss a figure: choose one to see why.").arg(missing).arg(risk_->rows.size());
    return text;
}

void HindcastPage::showRiskReasons(int row) {
    const bool shown = risk_ && row >= 0 && row < static_cast<int>(risk_->rows.size());
    const QString text =
        shown ? riskReasonsText(risk_->rows[static_cast<std::size_t>(row)], !all_.rows.empty()) : QString();
    riskWhy_->setText(text);
    riskWhy_->setVisible(!text.isEmpty());
}

}  // namespace el::workbench
