#include "workbench/focus_ring.hpp"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace el::workbench {
namespace {

constexpr int kRingWidth = 2;

}  // namespace

FocusRing::FocusRing(QWidget* window) : QWidget(window) {
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(window->rect());
    window->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
    raise();
}

void FocusRing::follow(QWidget* focused) {
    if (focused_) focused_->removeEventFilter(this);
    focused_ = focused != nullptr && parentWidget()->isAncestorOf(focused) ? focused : nullptr;
    if (focused_) focused_->installEventFilter(this);  // to follow its moves and resizes
    raise();
    update();
}

QRect FocusRing::ringRect() const {
    if (!focused_ || !focused_->isVisible()) return {};
    const QRect inWindow(focused_->mapTo(parentWidget(), QPoint(0, 0)), focused_->size());
    return inWindow.adjusted(-1, -1, 1, 1).intersected(rect());
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == parentWidget() && type == QEvent::Resize) setGeometry(parentWidget()->rect());
    if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show || type == QEvent::Hide) update();
    return QWidget::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
    const QRect ring = ringRect();
    if (ring.isEmpty()) return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight), kRingWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.drawRect(QRectF(ring).adjusted(kRingWidth / 2.0, kRingWidth / 2.0, -kRingWidth / 2.0, -kRingWidth / 2.0));
}

}  // namespace el::workbench
