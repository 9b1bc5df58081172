#include "workbench/scene_painter.hpp"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cmath>

namespace el::workbench {
namespace {

QColor qcolour(figures::Rgb c) { return QColor(c.r, c.g, c.b); }

QPen penOf(const figures::Stroke& s) {
    QPen pen(qcolour(s.color), s.width);
    pen.setCosmetic(false);
    pen.setJoinStyle(Qt::RoundJoin);
    if (s.dash == figures::Dash::Dashed) pen.setStyle(Qt::DashLine);
    if (s.dash == figures::Dash::Dotted) pen.setStyle(Qt::DotLine);
    return pen;
}

void paintMarker(QPainter& painter, const figures::Marker& m, const QTransform& view) {
    const QPointF c = view.map(QPointF(m.at.x, m.at.y));
    const double r = m.size / 2;
    painter.setPen(penOf(m.stroke));
    painter.setBrush(m.fill ? QBrush(qcolour(*m.fill)) : Qt::NoBrush);
    switch (m.kind) {
    case figures::MarkerKind::Circle: painter.drawEllipse(c, r, r); break;
    case figures::MarkerKind::Square: painter.drawRect(QRectF(c.x() - r, c.y() - r, m.size, m.size)); break;
    case figures::MarkerKind::Triangle: {
        const QPointF points[] = {{c.x(), c.y() - r}, {c.x() + r, c.y() + r}, {c.x() - r, c.y() + r}};
        painter.drawPolygon(points, 3);
        break;
    }
    case figures::MarkerKind::Cross:
        painter.drawLine(QPointF(c.x() - r, c.y() - r), QPointF(c.x() + r, c.y() + r));
        painter.drawLine(QPointF(c.x() - r, c.y() + r), QPointF(c.x() + r, c.y() - r));
        break;
    }
}

void paintLabel(QPainter& painter, const figures::Label& l) {
    QFont font = painter.font();
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(l.size))));
    painter.setFont(font);
    painter.setPen(qcolour(l.color));
    const QString text = QString::fromStdString(l.text);
    const double width = painter.fontMetrics().horizontalAdvance(text);
    const double shift = l.anchor == figures::TextAnchor::Start ? 0 : l.anchor == figures::TextAnchor::Middle ? width / 2 : width;
    painter.save();
    painter.translate(l.at.x, l.at.y);
    if (l.vertical) painter.rotate(-90);
    painter.drawText(QPointF(-shift, 0), text);
    painter.restore();
}

void paintLayer(QPainter& painter, const figures::Layer& layer, const QTransform& view) {
    for (const auto& s : layer.shapes) {
        const QPainterPath path = shapePath(s, view);
        if (s.closed && s.fill) painter.fillPath(path, qcolour(*s.fill));
        if (s.hatched && s.closed) painter.fillPath(path, QBrush(QColor(80, 80, 80), Qt::BDiagPattern));
        if (s.stroke) painter.strokePath(path, penOf(*s.stroke));
    }
    for (const auto& m : layer.markers) paintMarker(painter, m, view);
    for (const auto& l : layer.labels) paintLabel(painter, l);
}

}  // namespace

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

void paintScene(QPainter& painter, const figures::Scene& scene, const QTransform& view) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(0, 0, scene.width, scene.height), qcolour(scene.background));
    paintLayer(painter, scene.content, view);
    paintLayer(painter, scene.overlay, QTransform());
}

QString exportScene(const figures::Scene& scene, const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    const QSize size(static_cast<int>(std::ceil(scene.width)), static_cast<int>(std::ceil(scene.height)));
    if (suffix == "svg") {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("earlylate figure"));
        QPainter painter;
        if (!painter.begin(&svg)) return QStringLiteral("cannot write the figure to %1").arg(file);
        paintScene(painter, scene);
        painter.end();
        return QFileInfo(file).size() > 0 ? QString() : QStringLiteral("cannot write the figure to %1").arg(file);
    }
    if (suffix != "png") return QStringLiteral("the figure file name must end in .png or .svg: %1").arg(file);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintScene(painter, scene);
    }
    if (!image.save(file, "PNG")) return QStringLiteral("cannot write the figure to %1").arg(file);
    return {};
}

}  // namespace el::workbench
