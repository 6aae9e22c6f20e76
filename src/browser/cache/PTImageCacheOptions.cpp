#include "browser/cache/PTImageCacheOptions.h"

#include "foundation/StrictChecking.h"

#include <cmath>

namespace {

// The palette makes a new colour on every call, so only the value can tell two colours apart.
bool sameColor(const QColor& a, const QColor& b)
{
    if (a.isValid() != b.isValid())
        return false;
    return !a.isValid() || a.rgba64() == b.rgba64();
}

bool sameReplacements(const std::optional<QHash<QRgb, QColor>>& a, const std::optional<QHash<QRgb, QColor>>& b)
{
    static const QHash<QRgb, QColor> none;
    return strictChecking::areKeysAndValuesEqualToDictionary(a.value_or(none), b.value_or(none));
}

} // namespace

QSize PTImageCacheOptions::pixelSize() const
{
    return {static_cast<int>(std::ceil(size.width() * scale - 1e-6)),
            static_cast<int>(std::ceil(size.height() * scale - 1e-6))};
}

PTImageCacheOptions PTImageCacheOptions::copy() const
{
    PTImageCacheOptions copy = *this;
    copy.image = QImage();
    return copy;
}

bool operator==(const PTImageCacheOptions& a, const PTImageCacheOptions& b)
{
    return a.size == b.size && a.allowEnlarge == b.allowEnlarge && sameColor(a.color, b.color)
        && sameReplacements(a.replacementColors, b.replacementColors) && a.scale == b.scale;
}
