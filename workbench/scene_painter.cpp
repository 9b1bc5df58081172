#include "workbench/scene_painter.hpp"

#include <cstring>
#include <exception>

#include "base/file_replace.hpp"
#include "figures/figure_file.hpp"
#include "figures/figure_raster.hpp"

namespace el::workbench {
namespace {

figures::Affine affineOf(const QTransform& t) { return {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy()}; }

}  // namespace

QImage sceneImage(const figures::Scene& scene, QSize size, const QTransform& device, const QTransform& view) {
    const figures::ArgbImage drawn =
        figures::renderArgb(scene, size.width(), size.height(), affineOf(device), affineOf(view));
    QImage image(drawn.width, drawn.height, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) return image;
    for (int y = 0; y < drawn.height; ++y)
        std::memcpy(image.scanLine(y), drawn.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(drawn.width),
                    static_cast<std::size_t>(drawn.width) * 4);
    return image;
}

QPainterPath shapePath(const figures::Shape& shape, const QTransform& view) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const auto& ring : shape.rings) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const QPointF p = view.map(QPointF(ring[i].x, ring[i].y));
            if (i == 0) path.moveTo(p);
            else path.lineTo(p);
        }
        if (shape.closed && !ring.empty()) path.closeSubpath();
    }
    return path;
}

QString exportScene(const figures::Scene& scene, const QString& file) {
    const auto format = figures::figureFormatOf(file.toStdString());
    if (!format) return QStringLiteral("the figure file name must end in .png, .svg or .pdf: %1").arg(file);
    try {
        if (const auto reason = replaceFile(file.toStdString(), figures::figureBytes(scene, *format)))
            return QStringLiteral("cannot write the figure to %1: %2").arg(file, QString::fromStdString(*reason));
    } catch (const std::exception& error) {
        return QStringLiteral("cannot draw the figure for %1: %2").arg(file, QString::fromUtf8(error.what()));
    }
    return {};
}

}  // namespace el::workbench
