#include "foundation/ColorPrivate.h"

#include <algorithm>
#include <cmath>

namespace {

// byte / 255 rounded to single precision. Dividing in single precision gives the same 256 values as rounding
// the double quotient, and keeps g++ 12's vectoriser from dropping the narrowing of the double form.
float component(int hex, int shift)
{
    return static_cast<float>((hex >> shift) & 0xFF) / 255.0f;
}

float clampedAlpha(float alpha)
{
    return std::fmin(std::fmax(alpha, 0.0f), 1.0f);
}

} // namespace

namespace colorPrivate {

QColor colorFromHEX(int hex, float alpha)
{
    return QColor::fromRgbF(component(hex, 16), component(hex, 8), component(hex, 0), clampedAlpha(alpha));
}

QColor changeBrightnessByAmount(const QColor& color, double amount)
{
    if (std::isnan(amount))
        return color;
    float hue = 0;
    float saturation = 0;
    float value = 0;
    float alpha = 0;
    color.getHsvF(&hue, &saturation, &value, &alpha);
    const double brightness = std::max(0.0, std::min(1.0, value + amount - 1.0));
    return QColor::fromHsvF(hue, saturation, float(brightness), alpha);
}

QColor lightenByAmount(const QColor& color, double amount)
{
    return amount == 0.0 ? color : changeBrightnessByAmount(color, 1.0 + amount);
}

QColor darkenByAmount(const QColor& color, double amount)
{
    return amount == 0.0 ? color : changeBrightnessByAmount(color, 1.0 - amount);
}

pt::CairoColor CGColor(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return {rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()};
}

} // namespace colorPrivate

QColor PTColorFromHEX(int hex, double alpha)
{
    return colorPrivate::colorFromHEX(hex, static_cast<float>(alpha));
}

pt::CairoColor PTCGColorFromHEX(int hex)
{
    return PTCGColorFromHEXWithAlpha(hex, 1.0);
}

pt::CairoColor PTCGColorFromHEXWithAlpha(int hex, double alpha)
{
    return {component(hex, 16), component(hex, 8), component(hex, 0), clampedAlpha(static_cast<float>(alpha))};
}
