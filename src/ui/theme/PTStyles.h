#pragma once

#include "platform/graphics/Shadow.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QLinearGradient>
#include <QPalette>

class QMenu;

// The interface's colours, gradients, fonts, radii and alphas. Themed values are worked out on every call from
// the current theme, so callers ask again when they draw and never keep a colour across a change.
class PTStyles {
public:
    // A two-colour gradient, drawn from the bottom (start) to the top (end) of what it fills.
    struct Gradient {
        QColor start;
        QColor end;
        // The gradient spread over the rectangle, start at its bottom edge.
        QLinearGradient over(const QRectF& rect) const;
    };

    static int defaultBlueHEX();
    static QColor defaultBlue();
    static QColor toolbarIconTemplateColor();
    static QColor sidebarBackgroundColor();
    static QColor windowBackgroundColor();
    static QColor titleBarHeaderColor();
    static QColor sectionHeaderColor();
    static QColor gridBackgroundColor();
    static QColor defaultControlFieldColor();
    static QColor defaultControlFocusedBackgroundColor();
    // No colour in either theme: focused fields draw no stroke.
    static QColor defaultControlFocusedStrokeColor();
    static QColor defaultControlStrokeColor();
    static QColor defaultControlFieldStrokeColor();
    static QColor defaultControlGradientStrokeColor();
    static QColor defaultControlTextColor();
    static QColor defaultDarkModeWhite();
    static QColor inputStrokeColor();
    static QColor sideBarinputStrokeColor();
    static QColor inputFontColor();
    static QColor tintColor();
    static QColor searchInputColor();
    static QColor defaultButtonFontColor();

    static Gradient defaultControlGradient();
    static Gradient defaultControlHighlightedGradient();
    static pt::Shadow darkModeControlShadow();
    static qreal defaultControlBorderRadius() { return 3.0; }
    static qreal defaultDisabledAlpha() { return 0.7; }
    static QFont inputFont();
    // The application's font at a size in pixels.
    static QFont systemFont(int pixelSize);

    // For an explicit appearance (the grid can show one of its own): only 0 is dark.
    static QColor gridBackgroundColorForAppearance(int appearance);
    static QColor sectionHeaderColorForAppearance(int appearance);
    static void setupMenu(QMenu* menu);
    // A dot every 8 pixels in the tint (black without one).
    static QBrush checkedPatternColorWithTint(const QColor& tint = QColor());

    // The palette that stock widgets take in the appearance.
    static QPalette palette(int appearance);

private:
    static bool isDark();
};
