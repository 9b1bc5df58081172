#pragma once
// A progress bar with elapsed and estimated remaining time, and a "Cancel" button, shown
// while a Read step or a run works. The estimate is a straight extrapolation of the
// current stage.

#include <QElapsedTimer>
#include <QWidget>

#include "base/feedback.hpp"

class QLabel;
class QProgressBar;
class QPushButton;

namespace el::workbench {

// "m:ss elapsed, about m:ss left": the time left extrapolates the current stage, which has
// taken `stageMs` for `done` of `total` units (only the elapsed part while nothing is known).
QString timeText(qint64 elapsedMs, qint64 stageMs, long long done, long long total);

class RunProgressPanel : public QWidget {
    Q_OBJECT
public:
    explicit RunProgressPanel(QWidget* parent = nullptr);

    void start(bool cancellable);
    void update(ProgressStage stage, long long done, long long total);
    void finish();

    QProgressBar* bar() const { return bar_; }
    QPushButton* cancelButton() const { return cancel_; }
    QLabel* timeLabel() const { return time_; }

signals:
    void cancelRequested();

private:
    QProgressBar* bar_;
    QLabel* time_;
    QPushButton* cancel_;
    QElapsedTimer clock_;
    QElapsedTimer stageClock_;
    ProgressStage stage_ = ProgressStage::ReadObjects;
    long long lastShown_ = -1;  // the bar's value, 0..1000
    long long lastDone_ = -1;   // the count behind it
};

}  // namespace el::workbench
