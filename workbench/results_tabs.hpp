#pragma once
// The tabs in the log panel's place: "Log" (the log list itself), "Map", "Fit", "Weights",
// "Table" (the run's predictions table) and "Hindcast", with the progress bar and "Cancel"
// in the corner of the tab bar.

#include <QTabWidget>
#include <QWidget>

#include <memory>

#include "engine/engine.hpp"
#include "figures/map_figure.hpp"
#include "figures/weight_grid.hpp"
#include "vector/vector_data.hpp"

class QComboBox;
class QListWidget;
class QLabel;

namespace el::workbench {

class FigureView;
class HindcastPage;
class RunProgressPanel;
class TablePage;

class ResultsTabs : public QWidget {
    Q_OBJECT
public:
    enum Tab { LogTab = 0, MapTab = 1, FitTab = 2, WeightsTab = 3, TableTab = 4, HindcastTab = 5 };

    // Takes `log` into the first tab.
    ResultsTabs(QListWidget* log, QWidget* parent);

    // Shows the regions of a freshly read data set (no values yet).
    void showData(std::shared_ptr<const VectorData> data);
    // Shows the figures of a completed run on `data`; an examine-weight run also fills
    // the "Weights" tab.
    void showRun(std::shared_ptr<const VectorData> data, const engine::RunResult& run);

    QTabWidget* tabs() const { return tabs_; }
    void setCurrentIndex(int tab) { tabs_->setCurrentIndex(tab); }
    int currentIndex() const { return tabs_->currentIndex(); }
    FigureView* mapView() const { return mapView_; }
    FigureView* fitView() const { return fitView_; }
    FigureView* weightView() const { return weightView_; }
    QComboBox* mapColouring() const { return mapChoice_; }
    RunProgressPanel* progressPanel() const { return progress_; }
    TablePage* tablePage() const { return table_; }
    HindcastPage* hindcastPage() const { return hindcast_; }

private:
    QWidget* figurePage(FigureView*& view, QComboBox** choice, const QString& name);
    void redrawMap();
    void redrawWeights();
    void exportFigure(const FigureView* view, const QString& baseName);

    QTabWidget* tabs_;
    FigureView* mapView_ = nullptr;
    FigureView* fitView_ = nullptr;
    FigureView* weightView_ = nullptr;
    QComboBox* mapChoice_ = nullptr;
    QComboBox* measureChoice_ = nullptr;
    RunProgressPanel* progress_ = nullptr;
    TablePage* table_ = nullptr;
    HindcastPage* hindcast_ = nullptr;
    std::shared_ptr<const VectorData> data_;
    engine::RunResult run_;
    figures::WeightGrid grid_;
    bool hasGrid_ = false;
};

}  // namespace el::workbench
