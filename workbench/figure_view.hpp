#pragma once
// A widget that shows one figure scene, drawn by the figures library as the files are: the
// wheel zooms about the pointer, a drag pans, double-click resets, and hovering a region or
// a point shows its tip.

#include <QImage>
#include <QWidget>

#include <functional>

#include "figures/scene.hpp"

namespace el::workbench {

class FigureView : public QWidget {
    Q_OBJECT
public:
    explicit FigureView(QWidget* parent = nullptr);

    // Builds the scene for a canvas size; the view rebuilds it for its own size.
    using Builder = std::function<figures::Scene(double width, double height)>;
    void setBuilder(Builder builder);
    // The scene at a fixed size, for export.
    figures::Scene sceneAt(double width, double height) const;
    const figures::Scene& scene() const { return scene_; }
    void resetView();

    // The tip of the content item under `point` (widget pixels), or "".
    QString tipAt(const QPointF& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    QTransform fitTransform() const;  // scene canvas -> widget
    QTransform contentTransform() const;

    void rebuild();
    void redraw();  // the view moved or the scene changed: draw the image anew


    Builder builder_;
    figures::Scene scene_;
    double zoom_ = 1;
    QPointF pan_;  // in widget pixels
    std::optional<QPointF> dragFrom_;
    QImage image_;  // the scene as last drawn, at the widget's pixel size
};

// The "Export..." button of a figure: asks for a file (offering `baseName`.png) and writes
// the figure of `view` to it at the export size; an error text, or "" (also when no file
// was chosen).
QString exportFigure(QWidget* parent, const FigureView& view, const QString& baseName);

}  // namespace el::workbench
