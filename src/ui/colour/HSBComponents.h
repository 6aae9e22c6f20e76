#pragma once

#include <QColor>
#include <QString>

// Hue, saturation and brightness, each 0 to 1 (hue as a fraction of the full circle).
struct PTHSBComponents {
    double hue = 0;
    double saturation = 0;
    double brightness = 0;
};

// Component reads and derived colours for the colour picker family. Colours are read as device RGB (QColor's RGB
// form); greys answer hue 0.
namespace HSBComponents {

PTHSBComponents HSBComponents(const QColor& color);
// Six upper-case hex digits RRGGBB without "#", each component rounded to the nearest of 0..255.
QString HEXString(const QColor& color);
QColor complementaryColor(const QColor& color);
// Sums two angles: above 360 loses 360, below 0 loses its sign; 360 itself stays.
double addDegrees(double degrees, double degree);
bool isColorDark(const QColor& color);
bool isColorLight(const QColor& color);
QColor blackOrWhiteContrastingColor(const QColor& color);

} // namespace HSBComponents
