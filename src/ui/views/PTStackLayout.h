#pragma once

#include <QMarginsF>
#include <QRect>
#include <QSizeF>

#include <array>
#include <optional>
#include <vector>

// The arithmetic of the stack view, apart from any widget: visible items from the top down, each at its own
// height, a gap after every item but the last, separators centred in the gaps, insets around the whole, views
// pinned in the four edge gutters, and the height it all needs. Rectangles are in the stack's coordinates
// (y down) and made integral: origins floored, far edges ceiled.
class PTStackLayout {
public:
    // Horizontal placement of the items; also the modes of the gutter views (for the side gutters 1 is the
    // bottom, 2 the top).
    enum Alignment { Fill = 0, Right = 1, Left = 2, Centre = 3 };
    // Gutters, in the order the layout keeps them.
    enum Gutter { MinXGutter = 0, MaxXGutter = 1, MinYGutter = 2, MaxYGutter = 3 };

    struct Item {
        QSizeF size;
        // The gap after this item in place of the stack's spacing.
        std::optional<qreal> customSpacing;
    };
    struct GutterView {
        QSizeF size;
        int mode = Fill;
    };
    struct Input {
        qreal width = 0;
        std::vector<Item> items; // the visible ones, in order
        qreal spacing = 1;
        QMarginsF contentInsets;
        QMarginsF gutterInsets;
        Alignment alignment = Fill;
        qreal minHeight = 0;
        // The visible gutter views.
        std::array<std::optional<GutterView>, 4> gutters;
        // Heights of the separator in each gap; empty for no separators.
        std::vector<qreal> separatorHeights;
    };
    struct Result {
        std::vector<QRect> items;
        std::vector<QRect> separators;
        std::array<std::optional<QRect>, 4> gutters;
        qreal height = 0;
    };

    static Result compute(const Input& input);
    // The room the visible gutter views take on each side, with the gutter insets.
    static QMarginsF gutterMargins(const Input& input);
    // The smallest whole-pixel rectangle that holds the rectangle.
    static QRect integral(const QRectF& rect);
};
