#pragma once
// The tabs in the log panel's place: "Log" (the log list itself), "Map", "Fit", "Weights",
// "Table" (the run's predictions table) and "Hindcast", with the risk control, the progress
// bar and "Cancel" below. The figures show the latest completed run of the loaded data set and nothing
// older: where there is no such run, a line above each figure says why.

#include <QTabWidget>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

#include "engine/risk/risk_result.hpp"
#include "engine/run/engine.hpp"
#include "figures/map_figure.hpp"
#include "figures/weight_grid.hpp"
#include "ops/diagnostic.hpp"
#include "vector/vector_data.hpp"

class QCheckBox;
class QComboBox;
class QListWidget;
class QLabel;
class QPushButton;

namespace el::workbench {

class FigureView;
class HindcastPage;
class RiskControl;
class RunProgressPanel;
class TablePage;

class ResultsTabs : public QWidget {
    Q_OBJECT
public:
    enum Tab { LogTab = 0, MapTab = 1, FitTab = 2, WeightsTab = 3, TableTab = 4, HindcastTab = 5 };

    // Takes `log` into the first tab.
    ResultsTabs(QListWidget* log, QWidget* parent);

    // No data set: every figure is empty and says `why`.
    void clear(const QString& why);
    // The regions of `shown` without values of a run; the figures say `why`.
    void showData(std::shared_ptr<const vec::VectorData> shown, const QString& why);
    // The figures of a completed run on `shown`; an examine-weight run also fills the
    // "Weights" tab from its grid. The target's risk, when one was made, adds the table's
    // column and a map of it; `riskNote` says why there is none when one was asked for.
    void showRun(std::shared_ptr<const vec::VectorData> shown, std::shared_ptr<const engine::RunResult> run,
                 std::shared_ptr<const engine::RiskResult> risk = nullptr, const QString& riskNote = {});

    // The warnings of the input of the run started last, shown above the progress bar.
    void showInputWarnings(ops::Diagnostics warnings);
    const ops::Diagnostics& inputWarnings() const { return shownWarnings_; }

    // The completed run the figures show, or null.
    const engine::RunResult* shownRun() const { return run_.get(); }
    // The risk of the run shown, or null.
    const engine::RiskResult* shownRisk() const { return risk_.get(); }
    std::shared_ptr<const vec::VectorData> shownData() const { return data_; }
    // The line above a figure tab's figure ("" when its figure stands alone).
    QString note(Tab tab) const;
    // The map's orientation: false "north up" (start-up), true "y grows downwards".
    bool mapYDown() const;
    // The map as the Map tab draws it: what it is coloured by, and its orientation.
    figures::MapChoice mapChoice() const;
    figures::MapOptions mapOptions() const;

    QTabWidget* tabs() const { return tabs_; }
    void setCurrentIndex(int tab) { tabs_->setCurrentIndex(tab); }
    int currentIndex() const { return tabs_->currentIndex(); }
    FigureView* mapView() const { return mapView_; }
    FigureView* fitView() const { return fitView_; }
    FigureView* weightView() const { return weightView_; }
    QComboBox* mapColouring() const { return mapChoice_; }
    QComboBox* mapOrientation() const { return orientation_; }
    RunProgressPanel* progressPanel() const { return progress_; }
    TablePage* tablePage() const { return table_; }
    HindcastPage* hindcastPage() const { return hindcast_; }
    RiskControl* riskControl() const { return riskControl_; }

private:
    QWidget* figurePage(Tab tab, FigureView*& view, std::initializer_list<QComboBox**> choices, const QString& name);
    // Why the data set shown has no map (no geometry), or nothing when it has one.
    std::optional<ops::Diagnostic> mapRefusal() const;
    void setNotes(const QString& map, const QString& fit, const QString& weights);
    void resetFigures(std::shared_ptr<const vec::VectorData> shown, std::shared_ptr<const engine::RunResult> run);
    void fillMapChoice();
    void redrawMap();
    void redrawWeights();

    QTabWidget* tabs_;
    FigureView* mapView_ = nullptr;
    FigureView* fitView_ = nullptr;
    FigureView* weightView_ = nullptr;
    QComboBox* mapChoice_ = nullptr;
    QCheckBox* mapNames_ = nullptr;  // region names on the map
    QComboBox* orientation_ = nullptr;
    QComboBox* measureChoice_ = nullptr;
    std::array<QLabel*, 4> notes_{};  // per tab; the log tab has none
    QLabel* inputWarnings_ = nullptr;
    ops::Diagnostics shownWarnings_;
    RunProgressPanel* progress_ = nullptr;
    TablePage* table_ = nullptr;
    HindcastPage* hindcast_ = nullptr;
    RiskControl* riskControl_ = nullptr;
    std::shared_ptr<const vec::VectorData> data_;
    std::shared_ptr<const engine::RunResult> run_;  // null: no completed run
    std::shared_ptr<const engine::RiskResult> risk_;  // of run_, when one was made
    figures::WeightGrid grid_;                      // of run_ when it examined the weights
};

}  // namespace el::workbench
