#include "foundation/Rounding.h"

#include <cmath>

qint64 PTRoundFloat(float value)
{
    const double x = value;
    if (!std::isfinite(x))
        return 0;
    const double down = std::floor(x);
    return static_cast<qint64>(x < down + 0.5 ? down : std::round(x));
}

QRectF PTRoundRectHalfUp(const QRectF& rect)
{
    const auto rounded = [](qreal v) { return static_cast<qreal>(PTRoundFloat(static_cast<float>(v))); };
    return {rounded(rect.x()), rounded(rect.y()), rounded(rect.width()), rounded(rect.height())};
}

QRectF PTRoundRect(const QRectF& rect)
{
    return {std::round(rect.x()), std::round(rect.y()), std::round(rect.width()), std::round(rect.height())};
}

QPointF PTRoundPoint(const QPointF& point)
{
    return {std::round(point.x()), std::round(point.y())};
}

QPointF PTPointDifference(const QPointF& a, const QPointF& b)
{
    return a - b;
}
