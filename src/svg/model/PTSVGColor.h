#pragma once

#include <QColor>
#include <QString>
#include <QStringView>

class QVariant;

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
    // The keyword at an index of the 147 SVG colour keywords in alphabetical order (0 "aliceblue" to 146
    // "yellowgreen"); none outside that range.
    static std::optional<QString> colorNameFromPredefinedColor(int index);
    // Whether the text has the form of hex or rgb() colour text (it starts with "#" or "rgb"); nothing is parsed.
    static bool isColor(QStringView text);
    // The value when it holds a colour; none for anything else (colour text included).
    static std::optional<QColor> computeColor(const QVariant& value);
    // Whether the text is the currentColor keyword.
    static bool isCurrentColor(QStringView text);
};
