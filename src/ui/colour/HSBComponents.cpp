#include "ui/colour/HSBComponents.h"

#include <algorithm>
#include <cmath>

namespace HSBComponents {

PTHSBComponents HSBComponents(const QColor& color)
{
    const QColor rgb = color.toRgb();
    const double r = rgb.redF();
    const double g = rgb.greenF();
    const double b = rgb.blueF();
    const double max = std::max({r, g, b});
    const double delta = max - std::min({r, g, b});
    PTHSBComponents hsb;
    hsb.brightness = max;
    if (max <= 0 || delta <= 0)
        return hsb;
    hsb.saturation = delta / max;
    double sixths = 0;
    if (max == r)
        sixths = (g - b) / delta;
    else if (max == g)
        sixths = 2 + (b - r) / delta;
    else
        sixths = 4 + (r - g) / delta;
    hsb.hue = sixths / 6;
    if (hsb.hue < 0)
        hsb.hue += 1;
    return hsb;
}

QString HEXString(const QColor& color)
{
    const QColor rgb = color.isValid() ? color.toRgb() : QColor(Qt::black);
    QString text;
    for (const double component : {rgb.redF(), rgb.greenF(), rgb.blueF()})
        text += QStringLiteral("%1").arg(static_cast<int>(std::lround(component * 255.0)), 2, 16, QLatin1Char('0'));
    return text.toUpper();
}

QColor complementaryColor(const QColor& color)
{
    const PTHSBComponents hsb = HSBComponents(color);
    double hue = addDegrees(180, hsb.hue * 360) / 360;
    // A full turn is the same hue; QColor wants it below 1.
    if (hue >= 1)
        hue -= 1;
    return QColor::fromHsvF(static_cast<float>(hue), static_cast<float>(hsb.saturation),
                            static_cast<float>(hsb.brightness), color.alphaF()).toRgb();
}

double addDegrees(double degrees, double degree)
{
    const double sum = degrees + degree;
    if (sum > 360)
        return sum - 360;
    if (sum < 0)
        return -sum;
    return sum;
}

bool isColorDark(const QColor& color)
{
    const QColor rgb = color.toRgb();
    const double luminance = 0.299 * rgb.redF() + 0.587 * rgb.greenF() + 0.114 * rgb.blueF();
    return 1 - luminance >= 0.5;
}

bool isColorLight(const QColor& color)
{
    return !isColorDark(color);
}

QColor blackOrWhiteContrastingColor(const QColor& color)
{
    return isColorDark(color) ? QColor(Qt::white) : QColor(Qt::black);
}

} // namespace HSBComponents
