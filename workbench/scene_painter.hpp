#pragma once
// Shows a toolkit-free figure scene in the window: the figures library draws it (the same
// drawing as the PNG, SVG and PDF files) into an image that the painter then shows.

#include <QImage>
#include <QPainterPath>
#include <QString>
#include <QTransform>

#include "figures/scene.hpp"

namespace el::workbench {

// The scene drawn into a `size` pixel image through `device` (canvas to image pixels); the
// content layer moves by `view` first (zoom and pan; marker sizes and pen widths stay), the
// overlay does not.
QImage sceneImage(const figures::Scene& scene, QSize size, const QTransform& device, const QTransform& view = {});

// The outline of one content shape in canvas pixels, for hit tests.
QPainterPath shapePath(const figures::Shape& shape, const QTransform& view = {});

// Writes the scene at its own size to FILE (.png, .svg or .pdf by suffix), whole; an error
// text or "".
QString exportScene(const figures::Scene& scene, const QString& file);

}  // namespace el::workbench
