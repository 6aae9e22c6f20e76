#pragma once

#include <QImage>
#include <QString>

class QWidget;

// The art of the window's chrome (toolbar glyphs, the band's sheen): SVG resources drawn by our engine at the scale of
// the screen they are shown on, so they stay sharp at any scale.
namespace chromeArt {

// The resource "<name>.svg" drawn at its own size in points times the scale, marked with the scale as its device pixel
// ratio; a null image when the resource is missing.
QImage imageNamed(const QString& name, qreal scale);
// The same at the scale of the screen the view's window is on.
QImage imageNamed(const QString& name, const QWidget* view);

} // namespace chromeArt
