// The window's side of the Read step and the run: starting them on their worker threads,
// showing what they hand over, and taking their results when they have ended.

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "base/calc_date.hpp"
#include "engine/report/run_weight_test_file.hpp"
#include "ops/forecast.hpp"
#include "ops/load.hpp"
#include "workbench/background_step.hpp"
#include "workbench/caption_fit.hpp"
#include "workbench/file_chooser.hpp"
#include "workbench/records_dialog.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/risk_control.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/used_settings.hpp"
#include "workbench/workbench_window.hpp"

namespace el::workbench {
namespace {

constexpr const char* kReadCaption = "Read";
constexpr const char* kReadingCaption = "Reading";
constexpr const char* kReadDoneCaption = "Reading file";
constexpr const char* kRunCaption = "G  O";
constexpr const char* kRunningCaption = "Running";
constexpr const char* kNoDataMessage =
    "No vector file has been read: choose a file and press \"Read\" before \"G  O\".";

// What a data set's source is when the prediction cannot be written back to it.
const std::string kGisSource = "a GIS file";
const std::string kRecordsSource = "a records table";

// Why the figures show no run.
constexpr const char* kReadingNote = "A file is being read.";
constexpr const char* kReadFailedNote = "The file could not be read: no data set is loaded.";
constexpr const char* kNoRunYetNote = "No run has completed on this file yet.";
constexpr const char* kCancelledNote = "The last run was cancelled: it left no results.";
constexpr const char* kStoppedNote = "The last run stopped before it completed: it left no results.";
constexpr const char* kNoSpeciesNote = "The species list was empty: nothing was run.";

// The import's summary lines as the one status line.
std::string summaryText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += (text.empty() ? "" : "; ") + line;
    return text;
}

// The warnings of the checks before a run. The window runs a target that is not among the
// species analysed as a run without one, as it always has: that refusal is the batch
// runner's and R's.
ops::Diagnostics warningsOf(const ops::Diagnostics& checked) {
    ops::Diagnostics warnings;
    for (const ops::Diagnostic& d : checked)
        if (d.severity == ops::Severity::Warning) warnings.push_back(d);
    return warnings;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// What the work hands over

StepDisplay WorkbenchWindow::stepDisplay(bool run) {
    return {[this, run](const WorkNews& news) { showNews(news, run); }, [this] { return !messageOpen_; },
            [this](const std::string& text) { message(text); }};
}

void WorkbenchWindow::showNews(const WorkNews& news, bool fromRun) {
    for (const auto& [id, value] : news.settings) settings_.set(id, value);
    showLogEntries(news.log);
    if (news.busy) showRunBusy(*news.busy);
    for (Label label : {Label::ReadProgress, Label::RunProgress, Label::Status})
        if (const auto& text = news.captions[static_cast<std::size_t>(label)]) showCaption(label, *text);
    // A Read during a run leaves the bar to the run.
    if (news.progress && (fromRun || !runStep_->active()))
        results_->progressPanel()->update(news.progress->stage, news.progress->done, news.progress->total);
}

void WorkbenchWindow::showLogEntries(const std::vector<LogEntry>& entries) {
    QStringList lines;
    for (const LogEntry& entry : entries) {
        if (!entry.clear) {
            lines.append(QString::fromStdString(entry.line));
            continue;
        }
        lines.clear();
        controls_.log->clear();
    }
    if (!lines.isEmpty()) controls_.log->addItems(lines);
}

void WorkbenchWindow::showCaption(Label label, const std::string& text) {
    QLabel* target = controls_.label(label);
    const QString caption = QString::fromStdString(text);
    if (target->text() == caption) return;  // progress captions repeat often: skip the refit
    target->setText(caption);
    for (const PlacedControl& p : placed_)
        if (p.widget == target) fitCaption(p);
}

void WorkbenchWindow::showRunBusy(bool busy) {
    QPushButton* run = controls_.run;
    run->setText(QString::fromLatin1(busy ? kRunningCaption : kRunCaption));
    if (busy) disableKeepingFocus(run);
    else enableReturningFocus(run);
}

// A button disabled while it has the focus would hand it to the next control in the tab
// order, a settings field that selects its text, so the next key typed would replace a
// setting: the log panel keeps the focus meanwhile and gives it back.
void WorkbenchWindow::disableKeepingFocus(QPushButton* button) {
    if (focusWidget() == button) {
        controls_.log->setFocus(Qt::OtherFocusReason);
        focusReturnsTo_ = button;
    }
    button->setEnabled(false);
}

void WorkbenchWindow::enableReturningFocus(QPushButton* button) {
    button->setEnabled(true);
    if (focusReturnsTo_ != button) return;
    focusReturnsTo_ = nullptr;
    if (focusWidget() == controls_.log) button->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------
// The Read step

void WorkbenchWindow::openFile(const QString& file) {
    const QFileInfo info(file);
    setFolder(info.absolutePath());
    setSetting(Setting::DataFileName, info.fileName().toStdString());
    readFile();
}

// Empties the lists and the data set for a new Read; the lock of the file to read, or
// nothing (and the Read ends at once) when another process holds it.
std::shared_ptr<const FileLock> WorkbenchWindow::beginRead(const std::filesystem::path& source) {
    controls_.read->setText(QString::fromLatin1(kReadingCaption));
    disableKeepingFocus(controls_.read);
    controls_.records->setEnabled(false);
    controls_.variables->clear();
    controls_.species->clear();
    data_.reset();  // a run at work keeps its own reference
    ++dataGeneration_;
    results_->clear(QString::fromLatin1(kReadingNote));
    auto lock = holdFileLock(source);
    if (!lock) {
        message(FileLock::busyText(source));
        vec::ReadOutcome none;
        showReadNotice({});  // a notice of the last file no longer holds
        readDone(none, {}, {});
        return nullptr;
    }
    if (!runStep_->active()) results_->progressPanel()->start(false);
    return lock;
}

// The status line says what the Read found about the file (the encoding the automatic
// choice took it to be in; what a refused file looks like, when it looks like a table),
// until the next Read; a Read during a run leaves the line to the run.
void WorkbenchWindow::showReadNotice(const ops::Diagnostics& diagnostics) {
    if (runStep_->active()) return;
    std::string notice;
    for (const ops::Diagnostic& diagnostic : diagnostics) {
        if (diagnostic.kind == ops::DiagnosticKind::EncodingGuess) notice = diagnostic.text;
        if (diagnostic.kind == ops::DiagnosticKind::TableNotVectorFile)
            notice = ops::tableAdvice(diagnostic, "the \"Records table...\" button.");
    }
    if (!notice.empty()) showCaption(Label::Status, notice);
    else if (readNoticeShown_) showCaption(Label::Status, "");
    readNoticeShown_ = !notice.empty();
}

void WorkbenchWindow::readFile() {
    if (readStep_->active()) return;
    const std::filesystem::path source =
        localPath(joinFolderAndName(folder(), settings_.textField(Setting::DataFileName)->text()));
    const auto lock = beginRead(source);
    if (!lock) return;
    ops::LoadRequest request;
    request.file = source;
    request.missvalue = missvalue_;
    request.encoding = readEncoding();
    request.sideFolder = workFolder_;
    auto outcome = std::make_shared<ops::LoadResult>();
    readStep_->start(
        [outcome, request](WorkerHooks& hooks) {
            *outcome = ops::load(request, {hooks, hooks, hooks});
        },
        [this, outcome, source, lock] {
            showReadNotice(outcome->diagnostics);
            readDone(outcome->read, source, outcome->convertedFromGis ? kGisSource : std::string());
        });
}

void WorkbenchWindow::importRecords(const vec::RecordsSource& source) {
    if (readStep_->active()) return;
    recordsSource_ = source;
    // The log's header names the table, as the batch runner's does.
    setSetting(Setting::DataFileName, source.input().filename().string());
    showCaption(Label::Status, "");  // the summary of an earlier import is no longer true
    readNoticeShown_ = false;
    const auto lock = beginRead(source.input());
    if (!lock) return;
    ops::LoadRequest request;
    request.records = source;
    request.missvalue = missvalue_;
    auto outcome = std::make_shared<ops::LoadResult>();
    readStep_->start(
        [outcome, request](WorkerHooks& hooks) {
            *outcome = ops::load(request, {hooks, hooks, hooks});
            if (outcome->loaded() && !outcome->summary.empty())
                hooks.caption(Label::Status, summaryText(outcome->summary));
        },
        // A data set built from a table has no file to write the prediction back to.
        [this, outcome, source, lock] { readDone(outcome->read, source.input(), kRecordsSource); });
}

void WorkbenchWindow::chooseRecords() {
    if (readStep_->active()) return;
    vec::RecordsSource offered = recordsSource_;
    // A table chosen in the file list is the one offered.
    const QString listed = settings_.textField(Setting::DataFileName)->text();
    if (isTableFileName(listed)) offered.table = localPath(joinFolderAndName(folder(), listed));
    const std::string encoding = readEncoding();  // the Read's choice serves a delimited table too
    RecordsDialog dialog(
        [encoding](const std::filesystem::path& table) { return readRecordsTable(table, encoding).headers; }, this);
    dialog.setSheetReader([](const std::filesystem::path& table) { return readSheetHeaders(table); });
    dialog.setSource(offered);
    if (dialog.exec() != QDialog::Accepted) return;
    vec::RecordsSource chosen = dialog.source();
    chosen.encoding = encoding;
    chosen.keptSpecies = settings_.value(Setting::TargetSpecies);  // never left out by the fewest regions
    importRecords(chosen);
}

void WorkbenchWindow::readDone(vec::ReadOutcome& read, const std::filesystem::path& source,
                               const std::string& unwritable) {
    if (!runStep_->active()) results_->progressPanel()->finish();
    controls_.records->setEnabled(true);
    if (read.erf == 0) {
        // The write-back goes to the file that was read, whatever the name field says later.
        readSource_ = source;
        readSourceUnwritable_ = unwritable;
        auto data = std::make_shared<const vec::VectorData>(std::move(read.data));
        for (int v = 0; v < data->valn() && v < static_cast<int>(data->valname.size()); ++v)
            controls_.variables->addItem(QString::fromStdString(data->valname[static_cast<std::size_t>(v)]));
        results_->showData(data, QString::fromLatin1(kNoRunYetNote));
        data_ = std::move(data);
        controls_.read->setText(QString::fromLatin1(kReadDoneCaption));
    } else {
        results_->clear(QString::fromLatin1(kReadFailedNote));
        controls_.read->setText(QString::fromLatin1(kReadCaption));
    }
    enableReturningFocus(controls_.read);
    closeIfPending();
}

// ---------------------------------------------------------------------------------------
// The run

ops::ForecastRequest WorkbenchWindow::forecastRequest(const vec::VectorData& data,
                                                      std::vector<std::string> species) const {
    ops::ForecastRequest request;
    request.data = &data;
    request.species = std::move(species);
    request.source = readSource_;
    request.unwritableSource = readSourceUnwritable_;
    request.missvalue = missvalue_;
    request.calculationDate = calculationDate();
    request.workFolder = workFolder_;
    return request;
}

// A similarity output too large to take lightly is written only when the question is
// answered Yes: asked before the run, which would spend its time and memory on it.
bool WorkbenchWindow::confirmSimilarityOutput(const ops::Diagnostics& checked) {
    const auto oversized = std::find_if(checked.begin(), checked.end(), [](const ops::Diagnostic& d) {
        return d.kind == ops::DiagnosticKind::OversizedSimilarityOutput;
    });
    if (oversized == checked.end()) return true;
    std::string text = oversized->text + ". Write it anyway?";
    text[0] = 'T';
    messageOpen_ = true;
    const bool yes = questionSink_(QString::fromStdString(text));
    messageOpen_ = false;
    return yes;
}

void WorkbenchWindow::runForecast() {
    if (runStep_->active()) return;
    std::vector<std::string> species;
    for (int i = 0; i < controls_.species->count(); ++i) species.push_back(controls_.species->item(i)->text().toStdString());
    const std::shared_ptr<const vec::VectorData> data = data_;  // held for the whole run
    if (!data) {
        if (species.empty()) clearLog();
        else message(kNoDataMessage);
        return;
    }
    if (const std::string problem = results_->riskControl()->problem(); !problem.empty()) {
        message(problem);
        return;
    }
    const std::optional<double> riskHorizon = results_->riskControl()->horizon();
    ops::ForecastRequest forecast = forecastRequest(*data, std::move(species));
    const ops::Diagnostics checked =
        ops::checkForecast(forecast, live_.snapshot(), {.similarityLimit = similarityLimit_});
    if (!confirmSimilarityOutput(checked)) return;
    // The source the run may write back into is guarded by its lock, held while the run works.
    const auto lock = holdFileLock(readSource_);
    if (!lock) {
        message(FileLock::busyText(readSource_));
        return;
    }
    auto used = std::make_shared<SettingValues>(live_.snapshot());
    // The same warnings as every front end gives, before the run: shown, never logged.
    results_->showInputWarnings(warningsOf(checked));
    results_->progressPanel()->start(true);
    auto result = std::make_shared<engine::RunResult>();
    auto risk = std::make_shared<RiskAfterRun>();
    std::string date = forecast.calculationDate;
    runStep_->start(
        [this, result, risk, riskHorizon, used, data, request = std::move(forecast),
         probe = riskProbe_](WorkerHooks& hooks) {
            const SettingValues given = *used;  // the risk's early-late runs start from these
            UsedSettings settings(hooks, *used);
            // A run of no species only clears the log: the button is never "Running".
            const bool busy = !request.species.empty();
            if (busy) {
                hooks.clearLog();  // shown with the busy button, as the run clears it first
                hooks.runBusy(true);
            }
            *result = ops::forecast(engine_, request, {settings, hooks, hooks, hooks}).run;
            if (riskHorizon) {
                ProbedFeedback feedback(hooks, probe);
                *risk = riskAfterRun(*data, *result, given, *riskHorizon, request.missvalue, request.calculationDate,
                                     feedback);
            }
            if (busy) hooks.runBusy(false);
            *used = settings.used();
        },
        [this, result, risk, used, data, date = std::move(date), lock, generation = dataGeneration_] {
            runDone(result, *used, data, date, generation, *risk);
        });
}

// A Read and a run at work together on one file share one hold of its lock; it is given
// back when the last of them ends. Nothing when another process holds it.
std::shared_ptr<const FileLock> WorkbenchWindow::holdFileLock(const std::filesystem::path& file) {
    std::error_code ec;  // a name that cannot be made absolute is its own key
    const std::filesystem::path key = std::filesystem::absolute(file, ec).lexically_normal();
    std::erase_if(fileLocks_, [](const auto& entry) { return entry.second.expired(); });
    if (auto held = fileLocks_[key].lock()) return held;
    auto lock = std::make_shared<const FileLock>(file);
    if (!lock->acquired()) return nullptr;
    fileLocks_[key] = lock;
    return lock;
}

void WorkbenchWindow::requestCancel() { runStep_->requestStop(); }

void WorkbenchWindow::runDone(const std::shared_ptr<const engine::RunResult>& result, const SettingValues& used,
                              const std::shared_ptr<const vec::VectorData>& data, const std::string& date,
                              int generation, const RiskAfterRun& risk) {
    results_->progressPanel()->finish();
    showRunBusy(false);
    // After a Read started during the run, the figures belong to that Read.
    if (generation == dataGeneration_) {
        switch (result->status) {
        case engine::RunStatus::Completed:
            shownRunSettings_ = used;
            shownRunDate_ = date;
            results_->showRun(data, result, risk.risk, QString::fromStdString(risk.failure));
            break;
        case engine::RunStatus::Cancelled: results_->showData(data, QString::fromLatin1(kCancelledNote)); break;
        case engine::RunStatus::Stopped: results_->showData(data, QString::fromLatin1(kStoppedNote)); break;
        case engine::RunStatus::NoSpecies: results_->showData(data, QString::fromLatin1(kNoSpeciesNote)); break;
        }
    }
    closeIfPending();
}

}  // namespace el::workbench
