#pragma once

#include <QDir>
#include <QImage>
#include <QSaveFile>

// Writes the image as build/screenshots/<name>.png, whole or not at all (test processes run at once).
inline bool saveScreenshot(const QImage& image, const QString& name)
{
    const QString folder = QStringLiteral(PICTERN_SCREENSHOT_DIR);
    QSaveFile out(QDir(folder).filePath(name + QStringLiteral(".png")));
    return QDir().mkpath(folder) && out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") && out.commit();
}
