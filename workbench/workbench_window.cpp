#include "workbench/workbench_window.hpp"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

#include "base/log_file.hpp"
#include "engine/report/similarity_size.hpp"
#include "figures/report_file.hpp"
#include "ops/output_refusals.hpp"
#include "workbench/background_step.hpp"
#include "workbench/caption_fit.hpp"
#include "workbench/file_chooser.hpp"
#include "workbench/focus_ring.hpp"
#include "workbench/hindcast_page.hpp"
#include "workbench/results_tabs.hpp"
#include "workbench/run_progress_panel.hpp"
#include "workbench/window_fonts.hpp"

namespace el::workbench {
namespace {

// The settings in the order the start-up sequence sets them; "examine weight" keeps its
// design state, which it gets first.
constexpr std::array kStartupOrder{
    Setting::TargetSpecies,  Setting::DataFileName,  Setting::LogFileName,   Setting::SimOutput,
    Setting::MissingMode,    Setting::ElMatrixOutput, Setting::SkipFormatCheck, Setting::ExcludingLimit,
    Setting::AutoWeight,     Setting::AddPrediction, Setting::WeightPower,   Setting::SampleN,
    Setting::TrainingRatio,  Setting::ExcludeLimited, Setting::DoReliability, Setting::IterationN,
};
// Text fields, option groups, "skip format check" and the excluding limit come before the labels.
constexpr std::size_t kSetBeforeLabels = 8;

constexpr const char* kNoRunForReport = "No run has completed on the loaded file: there is nothing to report yet.";

void setStartupValue(SettingControls& settings, Setting id) {
    settings.set(id, std::string(settingInfo(id).startup));
}

}  // namespace

WorkbenchWindow::WorkbenchWindow(const WorkbenchOptions& options, QWidget* parent)
    : QWidget(parent),
      dpi_(options.dpi.value_or(0.0)),
      similarityLimit_(engine::kSimilarityOutputLimit),
      workFolder_(options.workFolder.empty() ? std::filesystem::path(".") : options.workFolder) {
    if (dpi_ <= 0.0) dpi_ = logicalDpiX() > 0 ? logicalDpiX() : 96.0;
    setWindowTitle(QString::fromLatin1(kWindowTitle));
    setFont(captionFont());
    messageSink_ = [this](const QString& text) {
        QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kMessageTitle), text, QMessageBox::Ok, this);
        box.exec();
    };
    questionSink_ = [this](const QString& text) {
        return QMessageBox::question(this, QString::fromLatin1(kMessageTitle), text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
    reportDocumentSaver_ = [](const std::filesystem::path& path, const figures::ReportContent& content) {
        return figures::writeReport(content, path);
    };

    BuiltControls built = buildControls(this, dpi_);
    placed_ = std::move(built.placed);
    settings_ = built.settings;
    controls_ = findControls(*this);
    setUpLogPanel();
    chooser_ = new FileChooser(controls_.drives, controls_.folders, controls_.files, this);
    readStep_ = new BackgroundStep(live_, stepDisplay(false), this);
    runStep_ = new BackgroundStep(live_, stepDisplay(true), this);
    connectActions();

    setMinimumSize(baseSize());
    resize(baseSize());
    placeControls(0, 0);
    for (const PlacedControl& p : placed_) fitCaption(p);
    applyStartupState();
    setFolder(options.startFolder.isEmpty() ? QDir::currentPath() : options.startFolder);
    focusRing_ = new FocusRing(this);  // last: over every control
}

WorkbenchWindow::~WorkbenchWindow() {
    // The work refers to the window's members: end it before they go.
    readStep_->stop();
    runStep_->stop();
    // The controls are deleted after the members, as a plain widget's children: what they
    // signal on the way (a list emptied, say) must not reach the window any more.
    for (QObject* child : findChildren<QObject*>()) child->blockSignals(true);
}

void WorkbenchWindow::setMessageSink(MessageSink sink) { messageSink_ = std::move(sink); }

// ---------------------------------------------------------------------------------------
// Controls

void WorkbenchWindow::setUpLogPanel() {
    QListWidget* log = controls_.log;
    // Long report lines scroll sideways instead of being cut short.
    log->setUniformItemSizes(false);
    log->setTextElideMode(Qt::ElideNone);
    log->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    log->setLayoutMode(QListView::Batched);
    // The log list becomes the first of the result tabs, which take its place.
    results_ = new ResultsTabs(log, this);
    // A hindcast takes the settings as they stand at its start to its own thread.
    results_->hindcastPage()->setWindowLink(
        {[this] { return live_.snapshot(); }, [this](const QString& text) { message(text.toStdString()); }});
    for (PlacedControl& p : placed_)
        if (p.widget == log) p.widget = results_;
    results_->clear(QStringLiteral("No file has been read yet."));
}

void WorkbenchWindow::connectActions() {
    const WindowControls& c = controls_;
    connect(c.read, &QPushButton::clicked, this, &WorkbenchWindow::readFile);
    connect(c.records, &QPushButton::clicked, this, &WorkbenchWindow::chooseRecords);
    connect(c.addSpecies, &QPushButton::clicked, this, &WorkbenchWindow::addSpecies);
    connect(c.removeSpecies, &QPushButton::clicked, this, &WorkbenchWindow::removeSpecies);
    connect(c.target, &QPushButton::clicked, this, &WorkbenchWindow::selectTargetSpecies);
    connect(c.saveLog, &QPushButton::clicked, this, &WorkbenchWindow::saveLog);
    connect(c.clear, &QPushButton::clicked, this, &WorkbenchWindow::clearLog);
    connect(c.exit, &QPushButton::clicked, this, &QWidget::close);
    connect(c.run, &QPushButton::clicked, this, &WorkbenchWindow::runForecast);
    connect(c.variables, &QListWidget::itemDoubleClicked, this, &WorkbenchWindow::addSpecies);
    connect(c.species, &QListWidget::itemDoubleClicked, this, &WorkbenchWindow::removeSpecies);
    connect(chooser_, &FileChooser::fileChosen, this,
            [this](const QString& name) { settings_.textField(Setting::DataFileName)->setText(name); });
    connect(results_->progressPanel(), &RunProgressPanel::cancelRequested, this, &WorkbenchWindow::requestCancel);
    connect(results_->hindcastPage(), &HindcastPage::dropped, this,
            [this](const QString& why) { showCaption(Label::Status, why.toStdString()); });
    connect(c.saveReport, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("Save report"), QStringLiteral("report.pdf"),
                                                          QStringLiteral("PDF report (*.pdf);;HTML report (*.html)"));
        if (!file.isEmpty()) saveReport(file);
    });

    settings_.watch([this](Setting id, const std::string& value) { live_.setSetting(id, value); });
    connect(settings_.textField(Setting::TargetSpecies), &QLineEdit::textChanged, this, &WorkbenchWindow::showTargetHint);
    const QAbstractItemModel* species = c.species->model();
    connect(species, &QAbstractItemModel::rowsInserted, this, &WorkbenchWindow::showTargetHint);
    connect(species, &QAbstractItemModel::rowsRemoved, this, &WorkbenchWindow::showTargetHint);
    connect(species, &QAbstractItemModel::modelReset, this, &WorkbenchWindow::showTargetHint);
}

void WorkbenchWindow::applyStartupState() {
    setStartupValue(settings_, Setting::ExamineWeight);
    for (std::size_t i = 0; i < kSetBeforeLabels; ++i) setStartupValue(settings_, kStartupOrder[i]);
    for (Label label : {Label::Status, Label::ReadProgress, Label::RunProgress}) showCaption(label, "");
    controls_.variables->clear();
    controls_.log->clear();
    missvalue_ = "null";
    controls_.encoding->setCurrentIndex(0);
    controls_.spare->clear();
    for (std::size_t i = kSetBeforeLabels; i < kStartupOrder.size(); ++i) setStartupValue(settings_, kStartupOrder[i]);
    // The live copy starts from the controls as they now stand.
    for (const SettingInfo& info : settingTable()) live_.setSetting(info.id, settings_.value(info.id));
}

QSize WorkbenchWindow::baseSize() const {
    return {twipsToPixels(kClientWidthTwips, dpi_), twipsToPixels(kClientHeightTwips, dpi_)};
}

void WorkbenchWindow::placeControls(int extraWidth, int extraHeight) {
    for (const PlacedControl& p : placed_) {
        QRect rect = pixelRect(p.entry->rect, dpi_);
        if (p.entry->anchor == Anchor::Grow) {
            rect.adjust(0, 0, extraWidth, extraHeight);
            // Grown downwards, the panel must not slide over a fixed control below its
            // start-up place (the "G  O" button reaches a little under it): start right of it.
            const QRect original = pixelRect(p.entry->rect, dpi_);
            for (const PlacedControl& other : placed_) {
                if (other.entry->anchor != Anchor::Fixed || other.entry->frame != p.entry->frame) continue;
                const QRect o = pixelRect(other.entry->rect, dpi_);
                if (o.intersects(rect) && !o.intersects(original)) rect.setLeft(std::max(rect.left(), o.right() + 4));
            }
        }
        if (p.entry->anchor == Anchor::FollowBottom) rect.translate(0, extraHeight);
        p.widget->setGeometry(rect);
    }
}

void WorkbenchWindow::fitCaption(const PlacedControl& placed) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(placed.widget)) text = label->text();
    else if (const auto* button = qobject_cast<const QAbstractButton*>(placed.widget)) text = button->text();
    else if (const auto* frame = qobject_cast<const QGroupBox*>(placed.widget)) text = frame->title();
    else return;
    const CaptionRoom room = captionRoom(*placed.entry, dpi_);
    const QFont font = fittedFont(placed.designFont, text, room);
    placed.widget->setFont(font);
    // A caption that cannot be shown whole at a readable size is offered in full as a tip.
    placed.widget->setToolTip(captionFits(font, text, room) ? QString() : text);
}

void WorkbenchWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize base = baseSize();
    placeControls(std::max(0, width() - base.width()), std::max(0, height() - base.height()));
}

void WorkbenchWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    for (const TwipLine& line : drawnLines()) {
        const int width = std::max(1, scaledPixels(line.width, dpi_));
        painter.setPen(QPen(palette().color(QPalette::WindowText), width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(twipsToPixels(line.x1, dpi_), twipsToPixels(line.y1, dpi_), twipsToPixels(line.x2, dpi_),
                         twipsToPixels(line.y2, dpi_));
    }
}

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
    // The window closes once the Read or the run at work has stopped.
    if (busy()) {
        closePending_ = true;
        readStep_->requestStop();
        runStep_->requestStop();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void WorkbenchWindow::closeIfPending() {
    if (!closePending_ || busy()) return;
    closePending_ = false;
    close();
}

bool WorkbenchWindow::busy() const { return readStep_->active() || runStep_->active(); }

void WorkbenchWindow::waitUntilIdle() {
    while (busy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// ---------------------------------------------------------------------------------------
// Settings, messages, the species lists and the log

std::string WorkbenchWindow::setting(Setting id) const { return settings_.value(id); }

void WorkbenchWindow::setSetting(Setting id, const std::string& value) { settings_.set(id, value); }

void WorkbenchWindow::message(const std::string& text) {
    messageOpen_ = true;
    messageSink_(QString::fromStdString(text));
    messageOpen_ = false;
}

QString WorkbenchWindow::folder() const { return chooser_->folder(); }

std::string WorkbenchWindow::readEncoding() const { return controls_.encoding->currentText().toStdString(); }

void WorkbenchWindow::setFolder(const QString& folder) { chooser_->setFolder(folder); }

void WorkbenchWindow::addSpecies() {
    const QListWidgetItem* selected = controls_.variables->currentItem();
    if (selected == nullptr || !selected->isSelected()) return;
    QListWidget* species = controls_.species;
    for (int i = 0; i < species->count(); ++i)
        if (species->item(i)->text() == selected->text()) return;
    species->addItem(selected->text());
}

void WorkbenchWindow::removeSpecies() {
    QListWidget* species = controls_.species;
    QListWidgetItem* selected = species->currentItem();
    if (selected == nullptr || !selected->isSelected()) return;
    delete species->takeItem(species->row(selected));
}

void WorkbenchWindow::selectTargetSpecies() {
    const QListWidgetItem* selected = controls_.variables->currentItem();
    if (selected == nullptr || !selected->isSelected()) return;
    setSetting(Setting::TargetSpecies, selected->text().toStdString());
    if (!setting(Setting::TargetSpecies).empty()) setSetting(Setting::AutoWeight, std::string(kOff));
}

// A target that names no species of the list gives a run without target species: the
// field says so, greyed, with a tip; the run itself is not changed.
void WorkbenchWindow::showTargetHint() {
    QLineEdit* field = settings_.textField(Setting::TargetSpecies);
    const QString target = field->text();
    bool named = target.isEmpty();
    for (int i = 0; i < controls_.species->count() && !named; ++i) named = controls_.species->item(i)->text() == target;
    QPalette palette = field->parentWidget()->palette();
    if (!named) palette.setColor(QPalette::Text, palette.color(QPalette::Disabled, QPalette::Text));
    field->setPalette(palette);
    field->setToolTip(named ? QString()
                            : QStringLiteral("\"%1\" is not in the species list: the run will have no target species")
                                  .arg(target));
}

void WorkbenchWindow::appendLog(const std::string& line) { controls_.log->addItem(QString::fromStdString(line)); }

void WorkbenchWindow::clearLog() {
    runStep_->showNews();  // what the run wrote before the click goes too
    controls_.log->clear();
}

QStringList WorkbenchWindow::logLines() const {
    const QListWidget* log = controls_.log;
    QStringList lines;
    lines.reserve(log->count());
    for (int i = 0; i < log->count(); ++i) lines.append(log->item(i)->text());
    return lines;
}

void WorkbenchWindow::saveLog() {
    runStep_->showNews();  // the lines the run wrote before the click
    const QString name = settings_.textField(Setting::LogFileName)->text();
    std::vector<std::string> lines;
    for (const QString& line : logLines()) lines.push_back(line.toStdString());
    // A bare name is saved in the window's working folder, as the side files are.
    const std::filesystem::path file = name.isEmpty() ? std::filesystem::path() : workFolder_ / localPath(name);
    if (const auto failure = writeLogFile(file, lines)) message(logFileFailureMessage(name.toStdString(), *failure));
    chooser_->refresh();  // the saved file may belong to the folder shown
}

void WorkbenchWindow::saveReport(const QString& path) {
    const engine::RunResult* run = results_->shownRun();
    if (run == nullptr) {
        message(kNoRunForReport);
        return;
    }
    if (const auto refusal = ops::mapRefusal(path.toStdString(), *results_->shownData(), ops::kWindowRegionsWords)) {
        message(refusal->text);
        return;
    }
    figures::ReportContent content =
        figures::reportContentOf(*results_->shownData(), *run, shownRunSettings_, readSource_.filename().string(),
                                 shownRunDate_, results_->mapChoice(), results_->mapOptions());
    // The hindcast tab's figures belong to the run the tabs show; one at work has none yet.
    const HindcastPage* hindcast = results_->hindcastPage();
    if (!hindcast->active()) content.hindcast = hindcast->years();
    if (const engine::RiskResult* risk = results_->shownRisk()) content.risk = *risk;
    if (const auto failure = reportDocumentSaver_(localPath(path), content)) message(*failure);
    chooser_->refresh();
}

}  // namespace el::workbench
