#include "ui/views/PTStackLayout.h"

#include <cmath>

QRect PTStackLayout::integral(const QRectF& rect)
{
    if (rect.isEmpty())
        return QRect(static_cast<int>(std::floor(rect.x())), static_cast<int>(std::floor(rect.y())), 0, 0);
    const int left = static_cast<int>(std::floor(rect.left()));
    const int top = static_cast<int>(std::floor(rect.top()));
    const int right = static_cast<int>(std::ceil(rect.x() + rect.width()));
    const int bottom = static_cast<int>(std::ceil(rect.y() + rect.height()));
    return QRect(left, top, right - left, bottom - top);
}

QMarginsF PTStackLayout::gutterMargins(const Input& input)
{
    const auto& g = input.gutters;
    const QMarginsF& extra = input.gutterInsets;
    return QMarginsF(g[MinXGutter] ? g[MinXGutter]->size.width() + extra.left() : 0,
                     g[MinYGutter] ? g[MinYGutter]->size.height() + extra.top() : 0,
                     g[MaxXGutter] ? g[MaxXGutter]->size.width() + extra.right() : 0,
                     g[MaxYGutter] ? g[MaxYGutter]->size.height() + extra.bottom() : 0);
}

namespace {

QRectF itemRect(const PTStackLayout::Input& input, const QMarginsF& insets, const QSizeF& size, qreal y)
{
    const qreal width = input.width;
    const qreal left = insets.left();
    const qreal right = insets.right();
    const qreal room = width - left - right;
    switch (input.alignment) {
    case PTStackLayout::Fill:
        return QRectF(left, y, room, size.height());
    case PTStackLayout::Right: {
        qreal x = width - right - size.width();
        qreal w = size.width();
        if (x < left) {
            x = left;
            if (left + w > width - right)
                w = room;
        }
        return QRectF(x, y, w, size.height());
    }
    case PTStackLayout::Left:
        return QRectF(left, y, left + size.width() > width - right ? room : size.width(), size.height());
    case PTStackLayout::Centre:
        return QRectF(left + room / 2 - size.width() / 2, y, size.width(), size.height());
    }
    return QRectF();
}

// Where a gutter view goes along its edge: `start` and `end` are the insets at the two ends, `length` the
// stack's length along the edge and `own` the view's.
std::pair<qreal, qreal> alongEdge(int mode, qreal start, qreal end, qreal length, qreal own)
{
    switch (mode) {
    case PTStackLayout::Fill:
        return {start, length - start - end};
    case PTStackLayout::Right:
        return {length - end - own, own};
    case PTStackLayout::Left:
        return {start, own};
    case PTStackLayout::Centre:
        return {length / 2 - own / 2, own};
    }
    return {0, own};
}

} // namespace

PTStackLayout::Result PTStackLayout::compute(const Input& input)
{
    Result result;
    const QMarginsF insets = input.contentInsets + gutterMargins(input);
    qreal y = insets.top();
    const std::size_t count = input.items.size();
    for (std::size_t i = 0; i < count; ++i) {
        const Item& item = input.items[i];
        result.items.push_back(integral(itemRect(input, insets, item.size, y)));
        y += result.items.back().height();
        if (i + 1 == count)
            break;
        const qreal gap = item.customSpacing.value_or(input.spacing);
        if (i < input.separatorHeights.size()) {
            const qreal h = input.separatorHeights[i];
            const float offset = std::floor((std::max(float(h), float(gap)) - float(h)) / 2.0f);
            const QMarginsF& content = input.contentInsets;
            result.separators.push_back(integral(
                QRectF(content.left(), y + offset, input.width - content.left() - content.right(), h)));
        }
        y += gap;
    }
    if (count == 0)
        y = 0;
    result.height = std::max(y + insets.bottom(), input.minHeight);

    const QMarginsF& c = input.contentInsets;
    const qreal w = input.width;
    const qreal h = result.height;
    for (int edge = 0; edge < 4; ++edge) {
        const std::optional<GutterView>& gutter = input.gutters[edge];
        if (!gutter)
            continue;
        const QSizeF own = gutter->size;
        QRectF rect;
        if (edge == MinXGutter || edge == MaxXGutter) {
            // Side gutters: mode 1 is the bottom, 2 the top.
            const auto [top, height] = alongEdge(gutter->mode, c.top(), c.bottom(), h, own.height());
            const qreal x = edge == MinXGutter ? c.left() : w - c.right() - own.width();
            rect = QRectF(x, top, own.width(), height);
        } else {
            const auto [left, width] = alongEdge(gutter->mode, c.left(), c.right(), w, own.width());
            const qreal top = edge == MinYGutter ? c.top() : h - c.bottom() - own.height();
            rect = QRectF(left, top, width, own.height());
        }
        result.gutters[edge] = integral(rect);
    }
    return result;
}
