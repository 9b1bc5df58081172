#pragma once
// Paints a toolkit-free figure scene with QPainter, and exports it to PNG or SVG.

#include <QPainterPath>
#include <QString>
#include <QTransform>

#include "figures/scene.hpp"

class QPainter;

namespace el::workbench {

// The content layer through `view` (zoom and pan; marker sizes and pen widths stay), the
// overlay as it is.
void paintScene(QPainter& painter, const figures::Scene& scene, const QTransform& view = {});

// The outline of one content shape in canvas pixels, for hit tests.
QPainterPath shapePath(const figures::Shape& shape, const QTransform& view = {});

// Writes the scene at its own size to FILE (.png or .svg by suffix); an error text or "".
QString exportScene(const figures::Scene& scene, const QString& file);

}  // namespace el::workbench
