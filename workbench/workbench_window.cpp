#include "workbench/workbench_window.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>

#include "base/calc_date.hpp"
#include "gis/read_source.hpp"
#include "vector/vector_file.hpp"
#include "vector/work_lock.hpp"
#include "workbench/caption_fit.hpp"
#include "workbench/file_chooser.hpp"
#include "base/log_file.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/window_fonts.hpp"
#include "workbench/wrap_check_box.hpp"

namespace el::workbench {
namespace {

constexpr const char* kReadCaption = "Read";
constexpr const char* kReadingCaption = "Reading";
constexpr const char* kReadDoneCaption = "Reading file";
constexpr const char* kRunCaption = "G  O";
constexpr const char* kRunningCaption = "Running";
constexpr const char* kNoDataMessage =
    "No vector file has been read: choose a file and press \"Read\" before \"G  O\".";

// The settings in the order the start-up sequence sets them; "examine weight" keeps its
// design state, which the controls get when they are made.
constexpr std::array kStartupOrder{
    Setting::TargetSpecies,  Setting::DataFileName,  Setting::LogFileName,   Setting::SimOutput,
    Setting::MissingMode,    Setting::ElMatrixOutput, Setting::SkipFormatCheck, Setting::ExcludingLimit,
    Setting::AutoWeight,     Setting::AddPrediction, Setting::WeightPower,   Setting::SampleN,
    Setting::TrainingRatio,  Setting::ExcludeLimited, Setting::DoReliability, Setting::IterationN,
};

QString qs(const std::string& text) { return QString::fromStdString(text); }

std::filesystem::path localPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

std::size_t index(Setting id) { return static_cast<std::size_t>(id); }

// The progress labels show one line each; every other label wraps.
bool singleLineLabel(const ControlSpec& entry) { return entry.name == "Label18" || entry.name == "Label11"; }

}  // namespace

WorkbenchWindow::WorkbenchWindow(const WorkbenchOptions& options, QWidget* parent)
    : QWidget(parent), dpi_(options.dpi.value_or(0.0)) {
    if (dpi_ <= 0.0) dpi_ = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setFont(captionFont());
    messageSink_ = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kMessageTitle), text, QMessageBox::Ok, this);
        box.exec();
    };

    buildControls();
    connectActions();
    setMinimumSize(baseSize());
    resize(baseSize());
    placeControls(0, 0);
    for (std::size_t i = 0; i < placed_.size(); ++i) fitCaption(placed_[i].widget, *placed_[i].entry, baseFonts_[i]);

    applyStartupState();
    setFolder(options.startFolder.isEmpty() ? QDir::currentPath() : options.startFolder);
}

WorkbenchWindow::~WorkbenchWindow() = default;

void WorkbenchWindow::setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

// ---------------------------------------------------------------------------------------
// Controls

void WorkbenchWindow::buildControls() {
    for (const ControlSpec& entry : controlLayout()) {
        QWidget* parentWidget = this;
        if (!entry.frame.empty()) parentWidget = control<QGroupBox>(std::string(entry.frame).c_str());
        const QString caption = qs(captionOf(entry));
        QWidget* widget = nullptr;
        switch (entry.kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(caption, parentWidget);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setTextFormat(Qt::PlainText);
            widget = label;
            break;
        }
        case ControlKind::Button: widget = new QPushButton(caption, parentWidget); break;
        case ControlKind::CheckBox: {
            auto* box = new WrapCheckBox(caption, parentWidget);
            checkBoxes_[index(*entry.setting)] = box;
            widget = box;
            break;
        }
        case ControlKind::TextField: {
            auto* field = new QLineEdit(parentWidget);
            field->setFont(listFont());
            textFields_[index(*entry.setting)] = field;
            widget = field;
            break;
        }
        case ControlKind::List:
        case ControlKind::FolderList:
        case ControlKind::FileList: {
            auto* list = new QListWidget(parentWidget);
            list->setFont(listFont());
            list->setUniformItemSizes(true);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            widget = list;
            break;
        }
        case ControlKind::DriveList: widget = new QComboBox(parentWidget); break;
        case ControlKind::EncodingList: {
            auto* list = new QComboBox(parentWidget);
            for (std::string_view name : kEncodingChoices)
                list->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
            widget = list;
            break;
        }
        case ControlKind::Frame: widget = new QGroupBox(caption, parentWidget); break;
        case ControlKind::Option: {
            auto* button = new QRadioButton(caption, parentWidget);
            options_[index(*entry.setting)].emplace_back(button, std::string(entry.choice));
            widget = button;
            break;
        }
        }
        widget->setObjectName(QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
        if (entry.bold) widget->setFont(headingFont());
        if (entry.name == "Command4") widget->setFont(runButtonFont());
        if (entry.kind == ControlKind::Label && singleLineLabel(entry)) static_cast<QLabel*>(widget)->setWordWrap(false);
        placed_.push_back({&entry, widget});
        baseFonts_.push_back(widget->font());
    }

    // Input controls above the captions that reach into their rectangles.
    for (const Placed& p : placed_)
        if (p.entry->kind != ControlKind::Label) p.widget->raise();

    // "Examine weight" has no start-up step: it shows its design state.
    setSetting(Setting::ExamineWeight, std::string(settingInfo(Setting::ExamineWeight).startup));

    // The log list becomes the first of the result tabs, which take its place.
    for (Placed& p : placed_)
        if (p.entry->name == "List3") {
            logList_ = static_cast<QListWidget*>(p.widget);
            results_ = new ResultsTabs(logList_, this);
            p.widget = results_;
        }
    connect(results_->progressPanel(), &RunProgressPanel::cancelRequested, this, &WorkbenchWindow::requestCancel);

    chooser_ = new FileChooser(control<QComboBox>("Drive1"), control<QListWidget>("Dir1"),
                               control<QListWidget>("File1"), this);
}

void WorkbenchWindow::connectActions() {
    connect(control<QPushButton>("Command1"), &QPushButton::clicked, this, &WorkbenchWindow::readFile);
    connect(control<QPushButton>("Command2"), &QPushButton::clicked, this, &WorkbenchWindow::addSpecies);
    connect(control<QPushButton>("Command3"), &QPushButton::clicked, this, &WorkbenchWindow::removeSpecies);
    connect(control<QPushButton>("Command7"), &QPushButton::clicked, this, &WorkbenchWindow::selectTargetSpecies);
    connect(control<QPushButton>("Command6"), &QPushButton::clicked, this, &WorkbenchWindow::saveLog);
    connect(control<QPushButton>("Command8"), &QPushButton::clicked, this, &WorkbenchWindow::clearLog);
    connect(control<QPushButton>("Command5"), &QPushButton::clicked, this, &QWidget::close);
    connect(control<QPushButton>("Command4"), &QPushButton::clicked, this, &WorkbenchWindow::runForecast);
    connect(control<QListWidget>("List1"), &QListWidget::itemDoubleClicked, this, &WorkbenchWindow::addSpecies);
    connect(control<QListWidget>("List2"), &QListWidget::itemDoubleClicked, this, &WorkbenchWindow::removeSpecies);
    connect(chooser_, &FileChooser::fileChosen, this,
            [this](const QString& name) { textFields_[index(Setting::DataFileName)]->setText(name); });
}

void WorkbenchWindow::applyStartupState() {
    // Text fields, option groups, "skip format check" and the excluding limit come first ...
    constexpr std::size_t kBeforeLabels = 8;
    for (std::size_t i = 0; i < kBeforeLabels; ++i)
        setSetting(kStartupOrder[i], std::string(settingInfo(kStartupOrder[i]).startup));
    for (Label label : {Label::Status, Label::ReadProgress, Label::RunProgress}) caption(label, "");
    showPendingCaptions();
    control<QListWidget>("List1")->clear();
    logList_->clear();
    missvalue_ = "null";
    control<QComboBox>("Combo1")->setCurrentIndex(0);
    control<QLabel>("Label14")->clear();
    // ... the remaining check boxes and numbers after the labels and lists.
    for (std::size_t i = kBeforeLabels; i < kStartupOrder.size(); ++i)
        setSetting(kStartupOrder[i], std::string(settingInfo(kStartupOrder[i]).startup));
}

QRect WorkbenchWindow::pixelRect(const TwipRect& rect) const {
    return {twipsToPixels(rect.left, dpi_), twipsToPixels(rect.top, dpi_), twipsToPixels(rect.width, dpi_),
            twipsToPixels(rect.height, dpi_)};
}

QSize WorkbenchWindow::baseSize() const {
    return {twipsToPixels(kClientWidthTwips, dpi_), twipsToPixels(kClientHeightTwips, dpi_)};
}

void WorkbenchWindow::placeControls(int extraWidth, int extraHeight) {
    for (const Placed& p : placed_) {
        QRect rect = pixelRect(p.entry->rect);
        if (p.entry->anchor == Anchor::Grow) {
            rect.adjust(0, 0, extraWidth, extraHeight);
            // Grown downwards, the panel must not slide over a fixed control below its
            // start-up place (the "G  O" button reaches a little under it): start right of it.
            const QRect original = pixelRect(p.entry->rect);
            for (const Placed& other : placed_) {
                if (other.entry->anchor != Anchor::Fixed || other.entry->frame != p.entry->frame) continue;
                const QRect o = pixelRect(other.entry->rect);
                if (o.intersects(rect) && !o.intersects(original)) rect.setLeft(std::max(rect.left(), o.right() + 4));
            }
        }
        if (p.entry->anchor == Anchor::FollowBottom) rect.translate(0, extraHeight);
        p.widget->setGeometry(rect);
    }
}

void WorkbenchWindow::fitCaption(QWidget* widget, const ControlSpec& entry, const QFont& base) {
    QString text;
    QSize room = pixelRect(entry.rect).size();
    bool wrap = false;
    constexpr int kAnyHeight = INT_MAX / 4;
    switch (entry.kind) {
    case ControlKind::Label: {
        text = static_cast<QLabel*>(widget)->text();
        wrap = !singleLineLabel(entry);
        // Input controls lie above captions that reach into them: the caption ends where they begin.
        const QRect own = pixelRect(entry.rect);
        for (const Placed& other : placed_) {
            if (other.entry->kind == ControlKind::Label || other.entry->frame != entry.frame) continue;
            const QRect rect = pixelRect(other.entry->rect);
            const bool besideVertically = rect.top() < own.bottom() - 1 && own.top() < rect.bottom() - 1;
            if (besideVertically && rect.left() > own.left() && rect.left() <= own.right())
                room.setWidth(std::min(room.width(), rect.left() - own.left()));
        }
        break;
    }
    case ControlKind::CheckBox:
        text = static_cast<QCheckBox*>(widget)->text();
        room.rwidth() -= style()->pixelMetric(QStyle::PM_IndicatorWidth) + style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
        room.setHeight(std::max(room.height(), QFontMetrics(base).height()));  // one line may overhang a low box
        wrap = true;
        break;
    case ControlKind::Option:
        text = static_cast<QRadioButton*>(widget)->text();
        room = {room.width() - style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
                    style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing),
                kAnyHeight};
        break;
    case ControlKind::Frame:
        text = static_cast<QGroupBox*>(widget)->title();
        room = {room.width() - 12, kAnyHeight};
        break;
    case ControlKind::Button:
        text = static_cast<QPushButton*>(widget)->text();
        room = {room.width() - 6, kAnyHeight};
        break;
    default: return;
    }
    const QFont font = fittedFont(base, text, room, wrap);
    widget->setFont(font);
    // A caption that cannot be shown whole at a readable size is offered in full as a tip.
    widget->setToolTip(captionFits(font, text, room, wrap) ? QString() : text);
}

void WorkbenchWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize base = baseSize();
    placeControls(std::max(0, width() - base.width()), std::max(0, height() - base.height()));
}

void WorkbenchWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const TwipLine& line : drawnLines()) {
        const int width = std::max(1, static_cast<int>(std::lround(line.width * dpi_ / 96.0)));
        painter.setPen(QPen(palette().color(QPalette::WindowText), width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(twipsToPixels(line.x1, dpi_), twipsToPixels(line.y1, dpi_), twipsToPixels(line.x2, dpi_),
                         twipsToPixels(line.y2, dpi_));
    }
}

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
    // A Read or a run is inside a yield: closing now would pull the window from under it.
    if (busyDepth_ > 0) {
        closePending_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void WorkbenchWindow::enterBusy() { ++busyDepth_; }

void WorkbenchWindow::leaveBusy() {
    --busyDepth_;
    if (busyDepth_ == 0 && closePending_) {
        closePending_ = false;
        close();
    }
}

// ---------------------------------------------------------------------------------------
// What the engine and the reader talk to

void WorkbenchWindow::message(const std::string& text) {
    showPendingCaptions();  // the box waits for the user: show where the work stands
    messageSink_(qs(text));
}

void WorkbenchWindow::checkpoint() {
    if (throttle_.due()) {
        showPendingCaptions();
        QCoreApplication::processEvents();
    }
    // A nested Read step finishes first; the run stops at its own next yield.
    if (cancelRequested_ && runActive_ && !readActive_) {
        cancelRequested_ = false;
        throw Cancelled{};
    }
}

void WorkbenchWindow::requestCancel() {
    if (runActive_) cancelRequested_ = true;
}

void WorkbenchWindow::progress(ProgressStage stage, long long done, long long total) {
    results_->progressPanel()->update(stage, done, total);
}

QLabel* WorkbenchWindow::labelFor(Label label) const {
    switch (label) {
    case Label::ReadProgress: return control<QLabel>("Label18");
    case Label::RunProgress: return control<QLabel>("Label11");
    case Label::Status: return control<QLabel>("Label7");
    }
    return nullptr;
}

void WorkbenchWindow::caption(Label label, const std::string& text) {
    // The core sets captions far more often than anyone can read them (one per status cell,
    // per connectivity step): keep the latest and show it when the window next repaints.
    pendingCaptions_[static_cast<std::size_t>(label)] = text;
}

void WorkbenchWindow::showPendingCaptions() {
    for (Label label : {Label::ReadProgress, Label::RunProgress, Label::Status}) {
        auto& pending = pendingCaptions_[static_cast<std::size_t>(label)];
        if (!pending) continue;
        QLabel* target = labelFor(label);
        const QString caption = qs(*pending);
        pending.reset();
        if (target->text() == caption) continue;  // progress captions repeat often: skip the refit
        target->setText(caption);
        for (std::size_t i = 0; i < placed_.size(); ++i)
            if (placed_[i].widget == target) fitCaption(target, *placed_[i].entry, baseFonts_[i]);
    }
}

void WorkbenchWindow::appendLog(const std::string& line) { logList_->addItem(qs(line)); }

void WorkbenchWindow::clearLog() { logList_->clear(); }

QStringList WorkbenchWindow::logLines() const {
    const QListWidget* log = logList_;
    QStringList lines;
    lines.reserve(log->count());
    for (int i = 0; i < log->count(); ++i) lines.append(log->item(i)->text());
    return lines;
}

// The thread count has no control: the window's runs use every core.
bool WorkbenchWindow::hasControl(Setting id) const {
    return textFields_[index(id)] != nullptr || checkBoxes_[index(id)] != nullptr || !options_[index(id)].empty();
}

std::string WorkbenchWindow::setting(Setting id) const {
    if (!hasControl(id)) return std::string(settingInfo(id).startup);
    switch (settingInfo(id).kind) {
    case SettingKind::Text: return textFields_[index(id)]->text().toStdString();
    case SettingKind::Check: return std::string(checkBoxes_[index(id)]->isChecked() ? kOn : kOff);
    case SettingKind::Choice:
        for (const auto& [button, value] : options_[index(id)])
            if (button->isChecked()) return value;
        return {};
    }
    return {};
}

void WorkbenchWindow::setSetting(Setting id, const std::string& value) {
    if (!hasControl(id)) return;
    switch (settingInfo(id).kind) {
    case SettingKind::Text: textFields_[index(id)]->setText(qs(value)); break;
    case SettingKind::Check: checkBoxes_[index(id)]->setChecked(value == kOn); break;
    case SettingKind::Choice:
        for (const auto& [button, choice] : options_[index(id)])
            if (choice == value) button->setChecked(true);
        break;
    }
}

void WorkbenchWindow::runBusy(bool busy) {
    showPendingCaptions();
    auto* go = control<QPushButton>("Command4");
    go->setText(QString::fromLatin1(busy ? kRunningCaption : kRunCaption));
    go->setEnabled(!busy);
}

// ---------------------------------------------------------------------------------------
// Step 1

QString WorkbenchWindow::folder() const { return chooser_->folder(); }

std::string WorkbenchWindow::readEncoding() const { return control<QComboBox>("Combo1")->currentText().toStdString(); }

void WorkbenchWindow::setFolder(const QString& folder) { chooser_->setFolder(folder); }

void WorkbenchWindow::openFile(const QString& file) {
    const QFileInfo info(file);
    setFolder(info.absolutePath());
    setSetting(Setting::DataFileName, info.fileName().toStdString());
    readFile();
}

void WorkbenchWindow::readFile() {
    if (readActive_) return;
    readActive_ = true;
    enterBusy();
    auto* button = control<QPushButton>("Command1");
    button->setText(QString::fromLatin1(kReadingCaption));
    button->setEnabled(false);
    control<QListWidget>("List1")->clear();
    control<QListWidget>("List2")->clear();
    data_.reset();

    const QString source = joinFolderAndName(folder(), textFields_[index(Setting::DataFileName)]->text());
    if (!runActive_) results_->progressPanel()->start(false);
    SourceReadOutcome sourceRead = readSourceFile(localPath(source), missvalue_, {*this, *this, *this}, readEncoding());
    if (!runActive_) results_->progressPanel()->finish();
    ReadOutcome& outcome = sourceRead.read;
    if (outcome.erf == 0) {
        // The write-back goes to the file that was read, whatever the name field says later.
        readSource_ = localPath(source);
        readSourceWritable_ = !sourceRead.convertedFromGis;
        auto data = std::make_shared<const VectorData>(std::move(outcome.data));
        auto* variables = control<QListWidget>("List1");
        for (int v = 0; v < data->valn() && v < static_cast<int>(data->valname.size()); ++v)
            variables->addItem(qs(data->valname[static_cast<std::size_t>(v)]));
        results_->showData(data);
        data_ = std::move(data);
        button->setText(QString::fromLatin1(kReadDoneCaption));
    } else {
        button->setText(QString::fromLatin1(kReadCaption));
    }
    button->setEnabled(true);
    showPendingCaptions();
    readActive_ = false;
    leaveBusy();
}

// ---------------------------------------------------------------------------------------
// Step 2 lists

void WorkbenchWindow::addSpecies() {
    const QListWidgetItem* selected = control<QListWidget>("List1")->currentItem();
    if (selected == nullptr || !selected->isSelected()) return;
    auto* species = control<QListWidget>("List2");
    for (int i = 0; i < species->count(); ++i)
        if (species->item(i)->text() == selected->text()) return;
    species->addItem(selected->text());
}

void WorkbenchWindow::removeSpecies() {
    auto* species = control<QListWidget>("List2");
    QListWidgetItem* selected = species->currentItem();
    if (selected == nullptr || !selected->isSelected()) return;
    delete species->takeItem(species->row(selected));
}

void WorkbenchWindow::selectTargetSpecies() {
    const QListWidgetItem* selected = control<QListWidget>("List1")->currentItem();
    if (selected == nullptr || !selected->isSelected()) return;
    setSetting(Setting::TargetSpecies, selected->text().toStdString());
    if (!setting(Setting::TargetSpecies).empty()) setSetting(Setting::AutoWeight, std::string(kOff));
}

// ---------------------------------------------------------------------------------------
// Log panel

void WorkbenchWindow::saveLog() {
    const QString name = textFields_[index(Setting::LogFileName)]->text();
    std::vector<std::string> lines;
    for (const QString& line : logLines()) lines.push_back(line.toStdString());
    if (const auto failure = writeLogFile(localPath(name), lines))
        message(logFileFailureMessage(name.toStdString(), *failure));
}

// ---------------------------------------------------------------------------------------
// The run

void WorkbenchWindow::runForecast() {
    if (runActive_) return;
    std::vector<std::string> species;
    const auto* list = control<QListWidget>("List2");
    for (int i = 0; i < list->count(); ++i) species.push_back(list->item(i)->text().toStdString());

    const std::shared_ptr<const VectorData> data = data_;  // held for the whole run
    if (!data) {
        if (species.empty()) {
            clearLog();
        } else {
            message(kNoDataMessage);
        }
        return;
    }

    engine::RunRequest request;
    request.data = data.get();
    request.species = std::move(species);
    request.sourceFile = readSource_;
    request.sourceWritable = readSourceWritable_;
    request.missvalue = missvalue_;
    request.calculationDate = calculationDate();
    request.workDir = ".";

    // The run's scratch files live in the working directory: hold its lock while the run works.
    const WorkFolderLock lock;
    if (!lock.acquired()) {
        message(WorkFolderLock::busyText());
        return;
    }
    runActive_ = true;
    enterBusy();
    cancelRequested_ = false;
    results_->progressPanel()->start(true);
    const engine::RunResult result = engine_.run(request, {*this, *this, *this, *this});
    results_->progressPanel()->finish();
    cancelRequested_ = false;
    if (result.status == engine::RunStatus::Completed) results_->showRun(data, result);
    runBusy(false);
    runActive_ = false;
    leaveBusy();
}

}  // namespace el::workbench
