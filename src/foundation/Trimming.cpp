#include "foundation/Trimming.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

namespace trimming {

QMargins trimmingInsetsWithFullOpaque(const QImage& image, bool fullOpaque)
{
    const QSizeF points = image.deviceIndependentSize();
    const QSize size(static_cast<int>(points.width()), static_cast<int>(points.height()));
    if (image.isNull() || size.isEmpty())
        return {};
    QImage alpha(size, QImage::Format_Alpha8);
    alpha.fill(0);
    {
        QPainter painter(&alpha);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(0, 0), points), image);
    }
    const auto counts = [&](int x, int y) {
        const uchar value = alpha.constScanLine(y)[x];
        return fullOpaque ? value == 255 : value != 0;
    };
    int top = size.height();
    int bottom = -1;
    int left = size.width();
    int right = -1;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (!counts(x, y))
                continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    if (bottom < 0)
        return {};
    return QMargins(left, top, size.width() - 1 - right, size.height() - 1 - bottom);
}

} // namespace trimming
