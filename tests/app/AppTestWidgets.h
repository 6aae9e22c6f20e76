#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace apptest {

// Writes the widget's picture to build/screenshots/<name>.png whole or not at all (other test processes read
// these files at the same time); answers the file, empty when it could not be written.
QString writeScreenshot(QWidget* widget, const QString& name);
// Whether two colours are within a few steps of each other, as blending and anti-aliasing leave them.
bool near(const QColor& a, const QColor& b, int tolerance = 3);

} // namespace apptest
