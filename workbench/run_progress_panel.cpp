#include "workbench/run_progress_panel.hpp"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace el::workbench {
namespace {

QString minutes(qint64 ms) {
    const qint64 s = ms / 1000;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'));
}

QString stageName(ProgressStage stage) {
    switch (stage) {
    case ProgressStage::ReadObjects: return QStringLiteral("objects");
    case ProgressStage::Trials: return QStringLiteral("trials");
    case ProgressStage::Passes: return QStringLiteral("passes");
    case ProgressStage::Hindcasts: return QStringLiteral("hindcast years");
    }
    return {};
}

}  // namespace

QString timeText(qint64 elapsedMs, qint64 stageMs, long long done, long long total) {
    QString text = minutes(elapsedMs) + QStringLiteral(" elapsed");
    if (done > 0 && total > done)
        text += QStringLiteral(", about %1 left")
                    .arg(minutes(static_cast<qint64>(static_cast<double>(stageMs) * static_cast<double>(total - done) /
                                                     static_cast<double>(done))));
    return text;
}

RunProgressPanel::RunProgressPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RunProgressPanel"));
    // The bar on a row of its own, the times and "Cancel" below it: side by side they would
    // clip each other's text in the log panel's start-up width.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 2, 0);
    layout->setVerticalSpacing(2);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar"));
    bar_->setTextVisible(true);
    time_ = new QLabel(this);
    time_->setObjectName(QStringLiteral("ProgressTime"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("CancelButton"));
    layout->addWidget(bar_, 0, 0, 1, 2);
    layout->addWidget(time_, 1, 0);
    layout->addWidget(cancel_, 1, 1);
    layout->setColumnStretch(0, 1);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        cancel_->setEnabled(false);
        emit cancelRequested();
    });
    setVisible(false);
}

void RunProgressPanel::start(bool cancellable) {
    clock_.start();
    stageClock_.start();
    lastShown_ = -1;
    lastDone_ = -1;
    bar_->setRange(0, 0);  // busy until the first count arrives
    bar_->setFormat(QString());
    time_->setText(timeText(0, 0, 0, 0));
    cancel_->setVisible(cancellable);
    cancel_->setEnabled(cancellable);
    setVisible(true);
}

void RunProgressPanel::update(ProgressStage stage, long long done, long long total) {
    // A new stage, or a count that starts over (the trials of the next pass), restarts the
    // clock the estimate of the time left is based on.
    if (stage != stage_ || done < lastDone_) stageClock_.start();
    stage_ = stage;
    lastDone_ = done;
    if (total <= 0) return;
    // Scale to int range; redraw only when the shown value moves.
    const int shown = static_cast<int>(1000.0 * static_cast<double>(done) / static_cast<double>(total));
    if (shown == lastShown_ && done != total) return;
    lastShown_ = shown;
    bar_->setRange(0, 1000);
    bar_->setValue(shown);
    bar_->setFormat(QStringLiteral("%1 of %2 %3").arg(done).arg(total).arg(stageName(stage)));
    time_->setText(timeText(clock_.elapsed(), stageClock_.elapsed(), done, total));
}

void RunProgressPanel::finish() { setVisible(false); }

}  // namespace el::workbench
