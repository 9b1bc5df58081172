#pragma once
// The "Hindcast" tab: a year field (one year or several, comma-separated), the "Hindcast"
// button, the table of the figures of each year and the hindcast plot of the year chosen
// in the table. The hindcast is made on the data set and the species of the latest
// completed run, with the window's settings as they stand when the button is pressed, on a
// worker thread of its own: its runs write no file and show nothing in the log panel, and
// "Stop" ends them at their next checkpoint. With "All species" checked, each species of the
// run that is eligible at a year is the target in turn, one row per species and year. With
// the risk control on at the press of the button, the risk of a first record of every row
// follows the hindcast on the same thread, and the table gains its figures (hindcast_risk.hpp).

#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "base/settings.hpp"
#include "engine/hindcast/hindcast.hpp"
#include "engine/hindcast/hindcast_all.hpp"
#include "engine/model/run_result.hpp"
#include "engine/risk/risk_hindcast.hpp"
#include "engine/run/settings_copy.hpp"
#include "vector/vector_data.hpp"
#include "workbench/background_step.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTableWidget;

namespace el::workbench {

class FigureView;
class RiskControl;

class HindcastPage : public QWidget {
    Q_OBJECT
public:
    explicit HindcastPage(QWidget* parent = nullptr);
    ~HindcastPage() override;  // stops a hindcast at work and waits for its thread

    // What the page asks the window for: its settings at the press of the button, and how
    // it shows a message to the user.
    struct WindowLink {
        std::function<SettingValues()> settings;
        std::function<void(const QString&)> message;
    };
    void setWindowLink(WindowLink link) { link_ = std::move(link); }
    // The control whose horizon, at the press of the button, asks for the risk of the hindcast.
    void setRiskControl(const RiskControl* control) { riskControl_ = control; }

    // No completed run: nothing to hindcast. A hindcast at work is stopped and dropped, and
    // both this and showRun say so (the note and dropped()).
    void clear(const QString& why);
    void showRun(std::shared_ptr<const vec::VectorData> runData, const engine::RunResult& run);

    // The button: starts a hindcast of the years in the field, or stops the one at work.
    void pressButton();
    bool active() const { return step_.active(); }

    const std::vector<engine::HindcastYear>& years() const { return years_; }
    // The rows of the latest hindcast over all species ("All species" checked), else empty.
    const std::vector<engine::SpeciesHindcast>& speciesRows() const { return all_.rows; }
    // The risk of the latest hindcast's rows, when it was asked for and made.
    const std::optional<engine::RiskHindcast>& riskHindcast() const { return risk_; }
    QCheckBox* allSpeciesBox() const { return allSpecies_; }
    QLineEdit* yearField() const { return yearField_; }
    QPushButton* button() const { return button_; }
    QTableWidget* figureTable() const { return table_; }
    FigureView* view() const { return view_; }
    QLabel* note() const { return note_; }
    QLabel* riskReasons() const { return riskWhy_; }  // why the chosen row misses risk figures

signals:
    void finished();  // a hindcast ended (completed, stopped, or failed) and its figures are shown
    void dropped(const QString& why);  // a hindcast at work was stopped because its run is no longer shown

private:
    struct Outcome;
    bool start();
    StepDisplay stepDisplay();
    void showProgress(const WorkNews& news);
    void finish(Outcome& outcome);
    bool stopWork();  // true when a hindcast was at work
    void tellDropped();
    void showYears();
    void showSpeciesRows();
    void showPlot(int row);
    QSplitter* makeTableAndPlot();     // the figure table above the plot of the chosen year
    bool askRisk();                    // at the press: the risk control's horizon, or false after a message
    bool startRisk(Outcome& outcome);  // true when the risk of the hindcast now follows it
    void showRiskReasons(int row);
    QString riskNote() const;

    WindowLink link_;
    std::shared_ptr<const vec::VectorData> data_;
    std::vector<std::string> species_;
    std::string target_;  // "" when the run had no target
    std::vector<engine::HindcastYear> years_;
    engine::AllSpeciesHindcast all_;
    const RiskControl* riskControl_ = nullptr;
    std::optional<double> riskHorizon_;  // asked for the hindcast at work
    bool riskAtWork_ = false;
    std::optional<engine::RiskHindcast> risk_;
    std::string riskFailure_;            // why the latest hindcast has no risk though it was asked for
    engine::SettingsCopy workSettings_;  // the latest hindcast's settings, which its worker's hooks hand out
    BackgroundStep step_{workSettings_, stepDisplay()};
    QLineEdit* yearField_ = nullptr;
    QCheckBox* allSpecies_ = nullptr;
    QPushButton* button_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* riskWhy_ = nullptr;
    QTableWidget* table_ = nullptr;
    FigureView* view_ = nullptr;
};

}  // namespace el::workbench
