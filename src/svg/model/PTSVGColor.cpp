#include "svg/model/PTSVGColor.h"

#include <QHash>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

struct NamedColor {
    const char* name;
    quint32 rgb;
};

const NamedColor NamedColors[] = {
    {"aliceblue", 0xf0f8ff}, {"antiquewhite", 0xfaebd7}, {"aqua", 0x00ffff}, {"aquamarine", 0x7fffd4},
    {"azure", 0xf0ffff}, {"beige", 0xf5f5dc}, {"bisque", 0xffe4c4}, {"black", 0x000000},
    {"blanchedalmond", 0xffebcd}, {"blue", 0x0000ff}, {"blueviolet", 0x8a2be2}, {"brown", 0xa52a2a},
    {"burlywood", 0xdeb887}, {"cadetblue", 0x5f9ea0}, {"chartreuse", 0x7fff00}, {"chocolate", 0xd2691e},
    {"coral", 0xff7f50}, {"cornflowerblue", 0x6495ed}, {"cornsilk", 0xfff8dc}, {"crimson", 0xdc143c},
    {"cyan", 0x00ffff}, {"darkblue", 0x00008b}, {"darkcyan", 0x008b8b}, {"darkgoldenrod", 0xb8860b},
    {"darkgray", 0xa9a9a9}, {"darkgreen", 0x006400}, {"darkgrey", 0xa9a9a9}, {"darkkhaki", 0xbdb76b},
    {"darkmagenta", 0x8b008b}, {"darkolivegreen", 0x556b2f}, {"darkorange", 0xff8c00}, {"darkorchid", 0x9932cc},
    {"darkred", 0x8b0000}, {"darksalmon", 0xe9967a}, {"darkseagreen", 0x8fbc8f}, {"darkslateblue", 0x483d8b},
    {"darkslategray", 0x2f4f4f}, {"darkslategrey", 0x2f4f4f}, {"darkturquoise", 0x00ced1},
    {"darkviolet", 0x9400d3}, {"deeppink", 0xff1493}, {"deepskyblue", 0x00bfff}, {"dimgray", 0x696969},
    {"dimgrey", 0x696969}, {"dodgerblue", 0x1e90ff}, {"firebrick", 0xb22222}, {"floralwhite", 0xfffaf0},
    {"forestgreen", 0x228b22}, {"fuchsia", 0xff00ff}, {"gainsboro", 0xdcdcdc}, {"ghostwhite", 0xf8f8ff},
    {"gold", 0xffd700}, {"goldenrod", 0xdaa520}, {"gray", 0x808080}, {"green", 0x008000},
    {"greenyellow", 0xadff2f}, {"grey", 0x808080}, {"honeydew", 0xf0fff0}, {"hotpink", 0xff69b4},
    {"indianred", 0xcd5c5c}, {"indigo", 0x4b0082}, {"ivory", 0xfffff0}, {"khaki", 0xf0e68c}, {"lavender", 0xe6e6fa},
    {"lavenderblush", 0xfff0f5}, {"lawngreen", 0x7cfc00}, {"lemonchiffon", 0xfffacd}, {"lightblue", 0xadd8e6},
    {"lightcoral", 0xf08080}, {"lightcyan", 0xe0ffff}, {"lightgoldenrodyellow", 0xfafad2},
    {"lightgray", 0xd3d3d3}, {"lightgreen", 0x90ee90}, {"lightgrey", 0xd3d3d3}, {"lightpink", 0xffb6c1},
    {"lightsalmon", 0xffa07a}, {"lightseagreen", 0x20b2aa}, {"lightskyblue", 0x87cefa},
    {"lightslategray", 0x778899}, {"lightslategrey", 0x778899}, {"lightsteelblue", 0xb0c4de},
    {"lightyellow", 0xffffe0}, {"lime", 0x00ff00}, {"limegreen", 0x32cd32}, {"linen", 0xfaf0e6},
    {"magenta", 0xff00ff}, {"maroon", 0x800000}, {"mediumaquamarine", 0x66cdaa}, {"mediumblue", 0x0000cd},
    {"mediumorchid", 0xba55d3}, {"mediumpurple", 0x9370db}, {"mediumseagreen", 0x3cb371},
    {"mediumslateblue", 0x7b68ee}, {"mediumspringgreen", 0x00fa9a}, {"mediumturquoise", 0x48d1cc},
    {"mediumvioletred", 0xc71585}, {"midnightblue", 0x191970}, {"mintcream", 0xf5fffa},
    {"mistyrose", 0xffe4e1}, {"moccasin", 0xffe4b5}, {"navajowhite", 0xffdead}, {"navy", 0x000080},
    {"oldlace", 0xfdf5e6}, {"olive", 0x808000}, {"olivedrab", 0x6b8e23}, {"orange", 0xffa500},
    {"orangered", 0xff4500}, {"orchid", 0xda70d6}, {"palegoldenrod", 0xeee8aa}, {"palegreen", 0x98fb98},
    {"paleturquoise", 0xafeeee}, {"palevioletred", 0xdb7093}, {"papayawhip", 0xffefd5},
    {"peachpuff", 0xffdab9}, {"peru", 0xcd853f}, {"pink", 0xffc0cb}, {"plum", 0xdda0dd},
    {"powderblue", 0xb0e0e6}, {"purple", 0x800080}, {"red", 0xff0000}, {"rosybrown", 0xbc8f8f},
    {"royalblue", 0x4169e1}, {"saddlebrown", 0x8b4513}, {"salmon", 0xfa8072}, {"sandybrown", 0xf4a460},
    {"seagreen", 0x2e8b57}, {"seashell", 0xfff5ee}, {"sienna", 0xa0522d}, {"silver", 0xc0c0c0},
    {"skyblue", 0x87ceeb}, {"slateblue", 0x6a5acd}, {"slategray", 0x708090}, {"slategrey", 0x708090},
    {"snow", 0xfffafa}, {"springgreen", 0x00ff7f}, {"steelblue", 0x4682b4}, {"tan", 0xd2b48c},
    {"teal", 0x008080}, {"thistle", 0xd8bfd8}, {"tomato", 0xff6347}, {"turquoise", 0x40e0d0},
    {"violet", 0xee82ee}, {"wheat", 0xf5deb3}, {"white", 0xffffff}, {"whitesmoke", 0xf5f5f5},
    {"yellow", 0xffff00}, {"yellowgreen", 0x9acd32}, {"currentcolor", 0x000000},
};

constexpr int KeywordCount = 147;
static_assert(std::size(NamedColors) == KeywordCount + 1);

const QHash<QString, quint32>& keywordTable()
{
    static const QHash<QString, quint32> table = [] {
        QHash<QString, quint32> hash;
        for (const auto& entry : NamedColors)
            hash.insert(QString::fromLatin1(entry.name), entry.rgb);
        return hash;
    }();
    return table;
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F');
}

QColor colorFromRGB(quint32 rgb, double alpha)
{
    return QColor::fromRgbF(float((rgb >> 16) & 0xff) / 255.0f, float((rgb >> 8) & 0xff) / 255.0f,
                            float(rgb & 0xff) / 255.0f, float(std::clamp(alpha, 0.0, 1.0)));
}

struct FunctionArgument {
    double value;
    bool percent;
};

// The arguments of rgb()/hsl() text: numbers separated by commas, blanks or "/", each maybe followed by "%".
std::vector<FunctionArgument> functionArguments(QStringView text)
{
    std::vector<FunctionArgument> args;
    const qsizetype open = text.indexOf(u'(');
    if (open < 0)
        return args;
    qsizetype close = text.indexOf(u')', open);
    if (close < 0)
        close = text.size();
    const QStringView inner = text.mid(open + 1, close - open - 1);
    qsizetype i = 0;
    while (i < inner.size()) {
        const QChar c = inner[i];
        if (c.isSpace() || c == u',' || c == u'/') {
            ++i;
            continue;
        }
        qsizetype end = i;
        while (end < inner.size() && !inner[end].isSpace() && inner[end] != u',' && inner[end] != u'/'
               && inner[end] != u'%')
            ++end;
        bool ok = false;
        const double value = inner.mid(i, end - i).toDouble(&ok);
        if (!ok)
            return {};
        const bool percent = end < inner.size() && inner[end] == u'%';
        args.push_back({value, percent});
        i = percent ? end + 1 : end;
    }
    return args;
}

double alphaArgument(const std::vector<FunctionArgument>& args)
{
    if (args.size() != 4)
        return 1.0;
    return std::clamp(args[3].percent ? args[3].value / 100.0 : args[3].value, 0.0, 1.0);
}

double channel(const FunctionArgument& arg)
{
    return std::clamp(arg.percent ? arg.value / 100.0 : arg.value / 255.0, 0.0, 1.0);
}

} // namespace

std::optional<QColor> PTSVGColor::colorFromString(QStringView text)
{
    const QString trimmed = text.trimmed().toString();
    if (trimmed.size() < 3)
        return std::nullopt;
    if (const auto keyword = colorFromPredefinedColorName(trimmed))
        return keyword;
    const QString lower = trimmed.toLower();
    if (lower == u"none")
        return QColor::fromRgbF(0, 0, 0, 0);
    if (lower.startsWith(u"rgb")) {
        const auto args = functionArguments(lower);
        if (args.size() < 3)
            return std::nullopt;
        return QColor::fromRgbF(float(channel(args[0])), float(channel(args[1])), float(channel(args[2])),
                                float(alphaArgument(args)));
    }
    if (lower.startsWith(u"hsl")) {
        const auto args = functionArguments(lower);
        if (args.size() < 3)
            return std::nullopt;
        const float scaled = float(args[0].value) * 0.0027777778450399637f;
        const float hue = scaled - std::floor(scaled);
        const double saturation = std::clamp(args[1].value / 100.0, 0.0, 1.0);
        const double lightness = std::clamp(args[2].value / 100.0, 0.0, 1.0);
        return QColor::fromHslF(hue, float(saturation), float(lightness), float(alphaArgument(args))).toRgb();
    }
    return colorFromHEXString(trimmed, 1.0);
}

std::optional<QColor> PTSVGColor::colorFromPredefinedColorName(QStringView name)
{
    const auto it = keywordTable().constFind(name.trimmed().toString().toLower());
    if (it == keywordTable().constEnd())
        return std::nullopt;
    return colorFromRGB(*it, 1.0);
}

std::optional<QColor> PTSVGColor::colorFromHEXString(QStringView text, double alpha)
{
    if (text.isEmpty() || !isHex(text))
        return std::nullopt;
    QString digits = text.toString();
    if (digits.startsWith(u'#'))
        digits.remove(0, 1);
    if (digits.size() == 3)
        digits = QString(digits[0]) + digits[0] + digits[1] + digits[1] + digits[2] + digits[2];
    // Read hex digits from the start up to the first other character (a stray "#" further in).
    qsizetype end = 0;
    while (end < digits.size() && end < 8 && isHexDigit(digits[end]))
        ++end;
    if (end == 0)
        return std::nullopt;
    bool ok = false;
    const quint32 rgb = digits.left(end).toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return colorFromRGB(rgb, alpha);
}

bool PTSVGColor::isHex(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c == u'#' || isHexDigit(c); });
}

QString PTSVGColor::colorStringFromColor(const QColor& color, bool forceHex, bool allowShorthand)
{
    const QColor rgb = color.toRgb();
    const int a = int(rgb.alphaF() * 100);
    const int r = rgb.red(), g = rgb.green(), b = rgb.blue();
    if (!forceHex) {
        if (a == 0)
            return QStringLiteral("none");
        if (a != 100) {
            return QStringLiteral("rgba(%1,%2,%3,%4)")
                .arg(r).arg(g).arg(b).arg(QString::number(float(a) / 100.0f, 'g', 6));
        }
    }
    auto hex2 = [](int v) { return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0')).toUpper(); };
    const QString rr = hex2(r), gg = hex2(g), bb = hex2(b);
    if (allowShorthand && rr[0] == rr[1] && gg[0] == gg[1] && bb[0] == bb[1])
        return QStringLiteral("#") + rr[0] + gg[0] + bb[0];
    return QStringLiteral("#") + rr + gg + bb;
}

QColor PTSVGColor::changeAlphaOnColor(const QColor& color, double alpha)
{
    QColor rgb = color.toRgb();
    rgb.setAlphaF(float(std::clamp(alpha, 0.0, 1.0)));
    return rgb;
}

bool PTSVGColor::isCurrentColor(QStringView text)
{
    return text.trimmed().compare(u"currentColor", Qt::CaseInsensitive) == 0;
}

std::optional<QString> PTSVGColor::colorNameFromPredefinedColor(int index)
{
    if (index < 0 || index >= KeywordCount)
        return std::nullopt;
    return QString::fromLatin1(NamedColors[index].name);
}

bool PTSVGColor::isColor(QStringView text)
{
    return text.startsWith(u'#') || text.startsWith(u"rgb");
}

std::optional<QColor> PTSVGColor::computeColor(const QVariant& value)
{
    if (value.typeId() != QMetaType::QColor)
        return std::nullopt;
    return value.value<QColor>();
}
