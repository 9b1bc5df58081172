#pragma once
// A progress bar with elapsed and estimated remaining time, and a "Cancel" button, shown
// while a Read step or a run works. The estimate (TimeLeftEstimate) carries the pace of the
// current count on to its total.

#include <optional>

#include <QElapsedTimer>
#include <QWidget>

#include "base/feedback.hpp"
#include "base/time_left.hpp"

class QLabel;
class QProgressBar;
class QPushButton;

namespace el::workbench {

// "m:ss elapsed, about m:ss left" (only the elapsed part without an estimate of the time left).
QString timeText(qint64 elapsedMs, std::optional<qint64> leftMs);

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
    TimeLeftEstimate estimate_;
    long long lastShown_ = -1;  // the bar's value, 0..1000
};

}  // namespace el::workbench
