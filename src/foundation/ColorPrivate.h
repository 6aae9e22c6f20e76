#pragma once

#include "platform/graphics/CairoColor.h"

#include <QColor>

// Every fixed colour of the interface is written as a 24-bit 0xRRGGBB value. Bits above 23 are ignored, so a
// negative value counts by its low 24 bits; each component is its byte / 255 at single precision. Alpha is
// clamped to [0, 1] (a NaN alpha counts as 0).
namespace colorPrivate {

QColor colorFromHEX(int hex, float alpha);

// The colour with its HSV value (brightness) moved by amount − 1 and kept within [0, 1]: 1 changes nothing.
// Hue, saturation and alpha stay; a NaN amount changes nothing.
QColor changeBrightnessByAmount(const QColor& color, double amount);
// Brightness raised, or lowered, by the amount; an amount of 0 answers the colour as it is.
QColor lightenByAmount(const QColor& color, double amount);
QColor darkenByAmount(const QColor& color, double amount);

// The colour's RGB components for drawing with cairo.
pt::CairoColor CGColor(const QColor& color);

} // namespace colorPrivate

// colorFromHEX with the alpha narrowed to single precision.
QColor PTColorFromHEX(int hex, double alpha);
// The same colours for drawing with cairo: opaque, and with an alpha.
pt::CairoColor PTCGColorFromHEX(int hex);
pt::CairoColor PTCGColorFromHEXWithAlpha(int hex, double alpha);
