#pragma once

#include <QIcon>
#include <QImage>

// Pictern's own icon, drawn from its SVG by our engine.
namespace PTApplicationIcon {

// Null when the resource is missing.
QImage image(int size);
// The window icon at the sizes window managers ask for.
QIcon icon();

} // namespace PTApplicationIcon
