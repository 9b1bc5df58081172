#include "workbench/screenshot.hpp"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>

#include "workbench/workbench_window.hpp"

namespace el::workbench {

QString saveScreenshot(WorkbenchWindow& window, const QString& file) {
    window.show();
    QCoreApplication::processEvents();
    QPixmap pixmap = window.grab();
    QImage image = pixmap.toImage();
    // Keep the client area's own pixel size whatever the platform's pixel ratio.
    if (image.size() != window.size()) image = image.scaled(window.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (!image.save(file, "PNG")) return QStringLiteral("cannot write the screenshot to %1").arg(file);
    return {};
}

}  // namespace el::workbench
