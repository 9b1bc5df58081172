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

QString timeText(qint64 elapsedMs, std::optional<qint64> leftMs) {
    QString text = minutes(elapsedMs) + QStringLiteral(" elapsed");
    if (leftMs) text += QStringLiteral(", about %1 left").arg(minutes(*leftMs));
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
    estimate_ = TimeLeftEstimate();
    lastShown_ = -1;
    bar_->setRange(0, 0);  // busy until the first count arrives
    bar_->setFormat(QString());
    time_->setText(timeText(0, std::nullopt));
    cancel_->setVisible(cancellable);
    cancel_->setEnabled(cancellable);
    setVisible(true);
}

void RunProgressPanel::update(ProgressStage stage, long long done, long long total) {
    // Every count goes to the estimate, shown or not, so that it sees each start-over.
    const qint64 elapsedMs = clock_.elapsed();
    const auto left =
        estimate_.update(stage, done, total, TimeLeftEstimate::Seconds(static_cast<double>(elapsedMs) / 1000));
    if (total <= 0) return;
    // Scale to int range; redraw only when the shown value moves.
    const int shown = static_cast<int>(1000.0 * static_cast<double>(done) / static_cast<double>(total));
    if (shown == lastShown_ && done != total) return;
    lastShown_ = shown;
    bar_->setRange(0, 1000);
    bar_->setValue(shown);
    bar_->setFormat(QStringLiteral("%1 of %2 %3").arg(done).arg(total).arg(stageName(stage)));
    time_->setText(
        timeText(elapsedMs, left ? std::optional<qint64>(static_cast<qint64>(left->count() * 1000)) : std::nullopt));
}

void RunProgressPanel::finish() { setVisible(false); }

}  // namespace el::workbench
