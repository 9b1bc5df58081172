#pragma once
// The one window of the tool: Step 1 (choose and read a vector file), Step 2 (species and
// options), the "G  O" button and the log panel. The engine and the vector file reader talk
// to it: settings are read live from its controls, captions and log lines go to its labels
// and log panel, and messages to a modal message box.

#include <QString>
#include <QStringList>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/feedback.hpp"
#include "base/log_sink.hpp"
#include "base/messenger.hpp"
#include "base/settings.hpp"
#include "base/yield_throttle.hpp"
#include "engine/engine.hpp"
#include "vector/vector_data.hpp"
#include "workbench/control_layout.hpp"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace el::workbench {

class FileChooser;
class ResultsTabs;

inline constexpr const char* kWindowTitle =
    "Predicting future from past expansions: a part of spatial information processing system, Kalvendrosia ";
inline constexpr const char* kMessageTitle = "Kalvendrosia";

struct WorkbenchOptions {
    QString startFolder;        // empty: the working directory
    std::optional<double> dpi;  // logical dots per inch for the layout; empty: the screen's
};

class WorkbenchWindow : public QWidget,
                        public SettingsSource,
                        public LogSink,
                        public Messenger,
                        public Feedback {
    Q_OBJECT
public:
    explicit WorkbenchWindow(const WorkbenchOptions& options = {}, QWidget* parent = nullptr);
    ~WorkbenchWindow() override;

    // Where messages go; the default shows a modal warning box and waits for OK.
    using MessageSink = std::function<void(const QString&)>;
    void setMessageSink(MessageSink sink);

    // What the engine and the reader talk to
    void message(const std::string& text) override;
    void checkpoint() override;
    void caption(Label label, const std::string& text) override;
    void appendLog(const std::string& line) override;
    void clearLog() override;
    std::string setting(Setting id) const override;
    void setSetting(Setting id, const std::string& value) override;
    void runBusy(bool busy) override;
    void progress(ProgressStage stage, long long done, long long total) override;

    // Asks the run in progress to stop at its next yield (the "Cancel" button).
    void requestCancel();
    // The tabs in the log panel's place: log, map, fit plot, weight grid.
    ResultsTabs* results() const { return results_; }

    // The actions behind the buttons and double-clicks.
    void readFile();
    void addSpecies();
    void removeSpecies();
    void selectTargetSpecies();
    void saveLog();
    void runForecast();

    // Points the chooser at the folder of `file`, puts its name in the file name field and reads it.
    void openFile(const QString& file);

    QString folder() const;
    // The text encoding the Read step assumes for a vector file: "auto", "UTF-8" or "CP932".
    std::string readEncoding() const;
    void setFolder(const QString& folder);
    std::shared_ptr<const VectorData> data() const { return data_; }
    QStringList logLines() const;
    bool busy() const { return busyDepth_ > 0; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Placed {
        const ControlSpec* entry;
        QWidget* widget;
    };

    void buildControls();
    void connectActions();
    void applyStartupState();
    void placeControls(int extraWidth, int extraHeight);
    QRect pixelRect(const TwipRect& rect) const;
    QSize baseSize() const;
    QLabel* labelFor(Label label) const;
    void showPendingCaptions();
    void fitCaption(QWidget* widget, const ControlSpec& entry, const QFont& base);
    void enterBusy();
    void leaveBusy();

    bool hasControl(Setting id) const;

    template <class T>
    T* control(const char* name) const {
        return findChild<T*>(QString::fromLatin1(name));
    }

    double dpi_;
    QListWidget* logList_ = nullptr;  // the log panel, appended to for every line of a run
    MessageSink messageSink_;
    YieldThrottle throttle_;
    std::array<std::optional<std::string>, 3> pendingCaptions_;  // set by the core, shown at the next repaint
    std::vector<Placed> placed_;
    std::vector<QFont> baseFonts_;  // each placed control's font before fitting its caption
    std::array<QLineEdit*, kSettingCount> textFields_{};
    std::array<QCheckBox*, kSettingCount> checkBoxes_{};
    std::array<std::vector<std::pair<QRadioButton*, std::string>>, kSettingCount> options_{};
    FileChooser* chooser_ = nullptr;

    std::string missvalue_;
    std::shared_ptr<const VectorData> data_;  // the last successful Read; a run holds its own copy
    std::filesystem::path readSource_;        // the file of the last successful Read
    bool readSourceWritable_ = true;          // false for a file converted from a GIS format
    engine::Engine engine_;                  // lives as long as the window: keeps its random generator
    int busyDepth_ = 0;                      // Read steps and runs in progress (they can nest via yields)
    bool readActive_ = false;
    ResultsTabs* results_ = nullptr;
    bool cancelRequested_ = false;
    bool runActive_ = false;
    bool closePending_ = false;
};

}  // namespace el::workbench
