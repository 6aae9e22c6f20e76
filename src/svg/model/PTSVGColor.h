#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

#include <optional>

// SVG colour text both ways. Every colour made here is an RGB colour; "none" is transparent black.
class PTSVGColor {
public:
    // Keywords (case-insensitive, trimmed), "none", #rgb/#rrggbb (the "#" optional), rgb()/rgba() with numbers or
    // percentages, hsl()/hsla(). No value for unreadable text. "currentColor" reads as black here: the parser
    // resolves it against the inherited colour property before it gets this far.
    static std::optional<QColor> colorFromString(QStringView text);
    static std::optional<QColor> colorFromPredefinedColorName(QStringView name);
    // Hex digits with an optional leading "#"; three digits are doubled.
    static std::optional<QColor> colorFromHEXString(QStringView text, double alpha);
    static bool isHex(QStringView text);
    // "none" for alpha 0, rgba(...) for partial alpha, else #RRGGBB (#RGB when shorthand is allowed and fits).
    // With forceHex the alpha is ignored.
    static QString colorStringFromColor(const QColor& color, bool forceHex = false, bool allowShorthand = true);
    static QColor changeAlphaOnColor(const QColor& color, double alpha);
    // Whether the text is the currentColor keyword.
    static bool isCurrentColor(QStringView text);
};
