#pragma once

#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <QWidget>

// Grabs the widget at ratio 1 and writes it under build/screenshots, whole or not at all (test processes run in
// parallel); answers the image, null when it could not be written.
inline QImage writeScreenshot(QWidget& widget, const QString& name)
{
    const QString folder = QStringLiteral(PICTERN_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    const QImage image = widget.grab().toImage();
    QSaveFile out(QDir(folder).filePath(name + QStringLiteral(".png")));
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "PNG") || !out.commit())
        return {};
    return image;
}
