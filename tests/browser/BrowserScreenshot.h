#pragma once

#include "TestSupport.h"

#include <QWidget>

// Grabs the widget and writes it as build/screenshots/<name>.png; answers the image, null when it could not be
// written.
inline QImage writeScreenshot(QWidget& widget, const QString& name)
{
    const QImage image = widget.grab().toImage();
    return pt::test::writeScreenshot(image, name) ? image : QImage();
}
