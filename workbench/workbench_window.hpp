#pragma once
// The one window of the tool: Step 1 (choose and read a vector file), Step 2 (species and
// options), the "G  O" button and the log panel with the result tabs. The Read step and the
// run work on worker threads; the window shows what they hand over (log lines, captions,
// progress, messages), keeps a live copy of the settings for them, and stays responsive.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_lock.hpp"
#include "base/settings.hpp"
#include "engine/run/engine.hpp"
#include "engine/run/settings_copy.hpp"
#include "figures/report_content.hpp"
#include "gis/read_source.hpp"
#include "ops/forecast.hpp"
#include "vector/vector_data.hpp"
#include "workbench/checkpoint_probe.hpp"
#include "workbench/control_builder.hpp"
#include "workbench/risk_control.hpp"
#include "workbench/setting_controls.hpp"
#include "workbench/window_controls.hpp"
#include "workbench/work_channel.hpp"

class QPushButton;

namespace el::workbench {

class BackgroundStep;
class FocusRing;
class FileChooser;
class ResultsTabs;
struct StepDisplay;

inline constexpr const char* kWindowTitle =
    "Predicting future from past expansions: a part of spatial information processing system, Kalvendrosia ";
inline constexpr const char* kMessageTitle = "Kalvendrosia";

struct WorkbenchOptions {
    QString startFolder;        // empty: the working directory
    std::optional<double> dpi;  // logical dots per inch for the layout; empty: the screen's
    // Where the side files go (the side log of a failed scan, the weight-test file); empty:
    // the working directory.
    std::filesystem::path workFolder;
};

// Writes a report (PDF or HTML by the file's extension); when it could not, the whole text
// for the user, naming the file. The window's own writes with figures::writeReport.
using ReportDocumentSaver =
    std::function<std::optional<std::string>(const std::filesystem::path&, const figures::ReportContent&)>;

class WorkbenchWindow : public QWidget {
    Q_OBJECT
public:
    explicit WorkbenchWindow(const WorkbenchOptions& options = {}, QWidget* parent = nullptr);
    ~WorkbenchWindow() override;

    // Where messages go; the default shows a modal warning box and waits for OK.
    using MessageSink = std::function<void(const QString&)>;
    void setMessageSink(MessageSink sink);
    void setReportDocumentSaver(ReportDocumentSaver writer) { reportDocumentSaver_ = std::move(writer); }
    // Where questions go; true for Yes. The default shows a modal question box.
    using QuestionSink = std::function<bool(const QString&)>;
    void setQuestionSink(QuestionSink sink) { questionSink_ = std::move(sink); }
    // Called at each checkpoint of the risk step after a run, on its worker thread (tests).
    void setRiskCheckpointProbe(CheckpointProbe probe) { riskProbe_ = std::move(probe); }
    // Above this many bytes of similarity output "G  O" asks before the run starts.
    void setSimilarityOutputLimit(std::uint64_t bytes) { similarityLimit_ = bytes; }

    // The settings as their controls hold them.
    std::string setting(Setting id) const;
    void setSetting(Setting id, const std::string& value);

    // The log panel.
    void appendLog(const std::string& line);
    void clearLog();
    QStringList logLines() const;

    // The actions behind the buttons and double-clicks. A Read and a run start on their
    // worker threads and return at once.
    void readFile();
    void addSpecies();
    void removeSpecies();
    void selectTargetSpecies();
    void saveLog();
    void runForecast();
    // Stops the run at its next checkpoint (the "Cancel" button).
    void requestCancel();
    // Writes a report of the completed run the result tabs show to `path`.
    void saveReport(const QString& path);

    // "Records table...": asks for a first-record table and its regions layer (the file chosen
    // in the file list is offered as the table), then imports them.
    void chooseRecords();
    // Builds the data set from a records table and its regions layer on the Read step's
    // worker thread; the status line shows what was built, and the species list fills as
    // after a Read. The table is never written to.
    void importRecords(const vec::RecordsSource& source);

    // Points the chooser at the folder of `file`, puts its name in the file name field and reads it.
    void openFile(const QString& file);
    // Serves the event loop until no Read and no run is at work.
    void waitUntilIdle();

    QString folder() const;
    // The text encoding the Read step assumes for a vector file: "auto", "UTF-8" or "CP932".
    std::string readEncoding() const;
    void setFolder(const QString& folder);
    std::shared_ptr<const vec::VectorData> data() const { return data_; }
    bool busy() const;
    ResultsTabs* results() const { return results_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void setUpLogPanel();
    // The button Enter presses when `focused` has the focus; nothing for none.
    QPushButton* enterButton(QWidget* focused) const;
    void connectActions();
    void applyStartupState();
    void placeControls(int extraWidth, int extraHeight);
    void fitCaption(const PlacedControl& placed);
    QSize baseSize() const;

    void message(const std::string& text);
    StepDisplay stepDisplay(bool run);
    void showNews(const WorkNews& news, bool fromRun);
    void showLogEntries(const std::vector<LogEntry>& entries);
    void showCaption(Label label, const std::string& text);
    void showRunBusy(bool busy);
    void disableKeepingFocus(QPushButton* button);
    void enableReturningFocus(QPushButton* button);
    void showTargetHint();

    std::shared_ptr<const FileLock> beginRead(const std::filesystem::path& source);
    // `unwritable`: what the source is when the prediction cannot be written back to it; empty
    // for a vector file, which can.
    void readDone(vec::ReadOutcome& read, const std::filesystem::path& source, const std::string& unwritable);
    void showReadNotice(const ops::Diagnostics& diagnostics);
    ops::ForecastRequest forecastRequest(const vec::VectorData& data, std::vector<std::string> species) const;
    bool confirmSimilarityOutput(const ops::Diagnostics& checked);
    void runDone(const std::shared_ptr<const engine::RunResult>& result, const SettingValues& used,
                 const std::shared_ptr<const vec::VectorData>& data, const std::string& date, int generation,
                 const RiskAfterRun& risk);
    std::shared_ptr<const FileLock> holdFileLock(const std::filesystem::path& file);
    void closeIfPending();

    double dpi_;
    MessageSink messageSink_;
    QuestionSink questionSink_;
    std::uint64_t similarityLimit_;
    ReportDocumentSaver reportDocumentSaver_;
    bool messageOpen_ = false;
    bool readNoticeShown_ = false;  // the status line says what the last Read found about its file
    std::vector<PlacedControl> placed_;
    SettingControls settings_;
    WindowControls controls_;
    engine::SettingsCopy live_;  // what the Read, the run and a hindcast read, updated on every edit
    FileChooser* chooser_ = nullptr;
    ResultsTabs* results_ = nullptr;
    BackgroundStep* readStep_ = nullptr;
    BackgroundStep* runStep_ = nullptr;
    FocusRing* focusRing_ = nullptr;
    QPushButton* focusReturnsTo_ = nullptr;  // a busy button whose focus the log panel keeps

    std::string missvalue_;
    std::filesystem::path workFolder_;             // of the side files
    std::shared_ptr<const vec::VectorData> data_;  // the last successful Read; a run holds its own reference
    int dataGeneration_ = 0;                  // counts the Reads started, so a run knows its data set is gone
    std::filesystem::path readSource_;        // the file of the last successful Read
    vec::RecordsSource recordsSource_;        // the choices of the last records import
    std::string readSourceUnwritable_;        // "a GIS file", "a records table"; empty: writable
    engine::Engine engine_;                   // lives as long as the window: keeps its random generator
    // The locks of the files being read or written back, one hold of each shared by a Read
    // and a run at work together.
    std::map<std::filesystem::path, std::weak_ptr<const FileLock>> fileLocks_;
    SettingValues shownRunSettings_;  // the settings the run the tabs show used
    std::string shownRunDate_;        // and its date of calculation
    bool closePending_ = false;
    CheckpointProbe riskProbe_;
};

}  // namespace el::workbench
