#include "workbench/results_tabs.hpp"

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "figures/fit_figure.hpp"
#include "workbench/figure_view.hpp"
#include "workbench/hindcast_page.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/scene_painter.hpp"
#include "workbench/table_page.hpp"

namespace el::workbench {

ResultsTabs::ResultsTabs(QListWidget* log, QWidget* parent) : QWidget(parent), tabs_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("ResultsTabs"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(tabs_, 1);
    tabs_->setDocumentMode(true);
    tabs_->setUsesScrollButtons(false);
    tabs_->addTab(log, QStringLiteral("Log"));
    tabs_->addTab(figurePage(mapView_, &mapChoice_, QStringLiteral("map")), QStringLiteral("Map"));
    tabs_->addTab(figurePage(fitView_, nullptr, QStringLiteral("fit")), QStringLiteral("Fit"));
    tabs_->addTab(figurePage(weightView_, &measureChoice_, QStringLiteral("weights")), QStringLiteral("Weights"));
    tabs_->addTab(table_ = new TablePage(this), QStringLiteral("Table"));
    tabs_->addTab(hindcast_ = new HindcastPage(this), QStringLiteral("Hindcast"));
    mapView_->setObjectName(QStringLiteral("MapView"));
    fitView_->setObjectName(QStringLiteral("FitView"));
    weightView_->setObjectName(QStringLiteral("WeightView"));
    for (const char* m : {"training & validation", "training", "validation"})
        measureChoice_->addItem(QString::fromLatin1(m));
    connect(mapChoice_, &QComboBox::currentIndexChanged, this, [this] { redrawMap(); });
    connect(measureChoice_, &QComboBox::currentIndexChanged, this, [this] { redrawWeights(); });

    progress_ = new RunProgressPanel(this);
    layout->addWidget(progress_);
    tabs_->setCurrentIndex(LogTab);
}

QWidget* ResultsTabs::figurePage(FigureView*& view, QComboBox** choice, const QString& name) {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 2, 0, 0);
    auto* bar = new QHBoxLayout;
    if (choice) {
        *choice = new QComboBox(page);
        (*choice)->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        bar->addWidget(*choice);
    }
    bar->addStretch();
    auto* png = new QPushButton(QStringLiteral("Export..."), page);
    bar->addWidget(png);
    layout->addLayout(bar);
    view = new FigureView(page);
    layout->addWidget(view, 1);
    FigureView* shown = view;
    connect(png, &QPushButton::clicked, this, [this, shown, name] { exportFigure(shown, name); });
    return page;
}

void ResultsTabs::exportFigure(const FigureView* view, const QString& baseName) {
    const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Export figure"), baseName + ".png",
                                                      QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"));
    if (file.isEmpty()) return;
    const QString error = exportScene(view->sceneAt(900, 640), file);
    if (!error.isEmpty()) QMessageBox::warning(this, QStringLiteral("Export"), error);
}

void ResultsTabs::showData(std::shared_ptr<const VectorData> data) {
    data_ = std::move(data);
    run_ = {};
    mapChoice_->blockSignals(true);
    mapChoice_->clear();
    mapChoice_->blockSignals(false);
    redrawMap();
    fitView_->setBuilder([run = run_](double w, double h) { return figures::buildFitPlot(run, w, h); });
    table_->clear(QStringLiteral("No run has completed on this file yet."));
    hindcast_->clear(QStringLiteral("No run has completed on this file yet: a hindcast starts from the latest completed run."));
}

void ResultsTabs::showRun(std::shared_ptr<const VectorData> data, const engine::RunResult& run) {
    data_ = std::move(data);
    run_ = run;
    mapChoice_->blockSignals(true);
    mapChoice_->clear();
    for (std::size_t s = 0; s < run_.speciesNames.size(); ++s)
        mapChoice_->addItem(QStringLiteral("Predicted date: ") + QString::fromStdString(run_.speciesNames[s]),
                            static_cast<int>(s));
    mapChoice_->addItem(QStringLiteral("Region score"), -2);
    if (run_.target >= 0) mapChoice_->addItem(QStringLiteral("Actual date of the target"), -3);
    mapChoice_->setCurrentIndex(run_.target >= 0 ? run_.target : 0);
    mapChoice_->blockSignals(false);
    redrawMap();
    fitView_->setBuilder([run = run_](double w, double h) { return figures::buildFitPlot(run, w, h); });
    table_->showRun(data_, run_);
    hindcast_->showRun(data_, run_);
    if (run_.examinedWeights) {
        grid_ = figures::weightGridOf(run_);
        hasGrid_ = true;
        redrawWeights();
    }
}

void ResultsTabs::redrawMap() {
    if (!data_) {
        mapView_->setBuilder({});
        return;
    }
    figures::MapChoice choice;
    const int code = mapChoice_->currentData().isValid() ? mapChoice_->currentData().toInt() : -1;
    if (code == -2) choice.colouring = figures::MapColouring::RegionScore;
    else if (code == -3) choice.colouring = figures::MapColouring::ActualDate;
    else choice.species = code;
    mapView_->setBuilder([data = data_, run = run_, choice](double w, double h) { return figures::buildMap(*data, run, choice, w, h); });
}

void ResultsTabs::redrawWeights() {
    if (!hasGrid_) return;
    const int i = measureChoice_->currentIndex();
    const auto measure = i == 1 ? figures::GridMeasure::Training
                                : i == 2 ? figures::GridMeasure::Validation : figures::GridMeasure::Whole;
    weightView_->setBuilder([grid = grid_, measure](double w, double h) { return figures::buildWeightGridPlot(grid, measure, w, h); });
}

}  // namespace el::workbench
