#include "workbench/figure_view.hpp"

#include <QFileDialog>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "workbench/scene_painter.hpp"

namespace el::workbench {

FigureView::FigureView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(120, 90);
}

void FigureView::setBuilder(Builder builder) {
    builder_ = std::move(builder);
    rebuild();
}

figures::Scene FigureView::sceneAt(double w, double h) const {
    if (!builder_) return figures::Scene{w, h, {255, 255, 255}, {}, {}, {}};
    return builder_(w, h);
}

void FigureView::rebuild() {
    scene_ = sceneAt(std::max(width(), 120), std::max(height(), 90));
    redraw();
}

void FigureView::redraw() {
    image_ = QImage();
    update();
}

void FigureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    rebuild();
}

void FigureView::resetView() {
    zoom_ = 1;
    pan_ = {};
    redraw();
}

QTransform FigureView::fitTransform() const {
    const double s = std::min(width() / std::max(1.0, scene_.width), height() / std::max(1.0, scene_.height));
    QTransform t;
    t.translate((width() - scene_.width * s) / 2, (height() - scene_.height * s) / 2);
    t.scale(s, s);
    return t;
}

QTransform FigureView::contentTransform() const {
    // Zoom about the widget centre, then pan; both in widget pixels, after fitting.
    QTransform zoom;
    zoom.translate(width() / 2.0 + pan_.x(), height() / 2.0 + pan_.y());
    zoom.scale(zoom_, zoom_);
    zoom.translate(-width() / 2.0, -height() / 2.0);
    return fitTransform() * zoom;
}

void FigureView::paintEvent(QPaintEvent*) {
    const double ratio = devicePixelRatioF();
    const QSize pixels(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio));
    if (image_.size() != pixels) {
        // The overlay is drawn in canvas pixels through `fit`; the content through the full
        // transform, given relative to `fit` since the drawing already applies it.
        const QTransform fit = fitTransform();
        image_ = sceneImage(scene_, pixels, fit * QTransform::fromScale(ratio, ratio), contentTransform() * fit.inverted());
        image_.setDevicePixelRatio(ratio);
    }
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), image_);
}

void FigureView::wheelEvent(QWheelEvent* event) {
    const double factor = std::pow(1.0015, event->angleDelta().y());
    const double next = std::clamp(zoom_ * factor, 0.2, 60.0);
    // Keep the point under the pointer where it is.
    const QPointF centre(width() / 2.0 + pan_.x(), height() / 2.0 + pan_.y());
    const QPointF pointer = event->position();
    pan_ += (pointer - centre) * (1 - next / zoom_);
    zoom_ = next;
    redraw();
    event->accept();
}

void FigureView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragFrom_ = event->position();
}

void FigureView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragFrom_) return;
    pan_ += event->position() - *dragFrom_;
    dragFrom_ = event->position();
    redraw();
}

void FigureView::mouseReleaseEvent(QMouseEvent*) { dragFrom_.reset(); }

void FigureView::mouseDoubleClickEvent(QMouseEvent*) { resetView(); }

QString FigureView::tipAt(const QPointF& point) const {
    const QTransform t = contentTransform();
    // Markers lie above the shapes: test them first, the last drawn first.
    for (auto m = scene_.content.markers.rbegin(); m != scene_.content.markers.rend(); ++m) {
        const QPointF c = t.map(QPointF(m->at.x, m->at.y));
        const double reach = std::max(4.0, m->size / 2 * fitTransform().m11() + 2);
        if (!m->tip.empty() && std::hypot(c.x() - point.x(), c.y() - point.y()) <= reach)
            return QString::fromStdString(m->tip);
    }
    for (auto s = scene_.content.shapes.rbegin(); s != scene_.content.shapes.rend(); ++s) {
        if (s->tip.empty()) continue;
        const QPainterPath path = shapePath(*s, t);
        if (s->closed ? path.contains(point) : path.intersects(QRectF(point - QPointF(3, 3), QSizeF(6, 6))))
            return QString::fromStdString(s->tip);
    }
    return {};
}

bool FigureView::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = tipAt(help->pos());
        if (tip.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

QString exportFigure(QWidget* parent, const FigureView& view, const QString& baseName) {
    const QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Export figure"), baseName + ".png",
                                                      QStringLiteral("PNG image (*.png);;SVG drawing (*.svg)"));
    if (file.isEmpty()) return {};
    return exportScene(view.sceneAt(900, 640), file);
}

}  // namespace el::workbench
