#pragma once
// A ring drawn around whichever control of the window has the keyboard focus, over every
// control, so the focus shows on each of them alike: empty lists and the log panel, which
// draw no focused item, included. It takes no mouse input.

#include <QPointer>
#include <QWidget>

namespace el::workbench {

class FocusRing : public QWidget {
    Q_OBJECT
public:
    explicit FocusRing(QWidget* window);

    // The ring's rectangle in the window, empty when the focus is outside it.
    QRect ringRect() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* focused);

    QPointer<QWidget> focused_;
};

}  // namespace el::workbench
