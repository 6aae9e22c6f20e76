#include "svg/PTSVGUtils.h"

#include "platform/runtime/Logging.h"

#include <QLocale>
#include <QRegularExpression>
#include <QSet>

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr double Pi = 3.141592653589793;

struct BlendModeName {
    const char* name;
    int mode;
};

constexpr std::array<BlendModeName, 15> BlendModes{{
    {"multiply", 1}, {"screen", 2}, {"overlay", 3}, {"darken", 4}, {"lighten", 5}, {"color-dodge", 6},
    {"color-burn", 7}, {"soft-light", 8}, {"hard-light", 9}, {"difference", 10}, {"exclusion", 11}, {"hue", 12},
    {"saturation", 13}, {"color", 14}, {"luminosity", 15},
}};

bool isNumberChar(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= '0' && u <= '9') || u == 'e' || u == 'E' || u == '+' || u == '-' || u == '.';
}

// Converts one token the way the C library's atof would, without its locale: the longest numeric prefix, 0 when
// there is none (a lone sign or point).
double tokenValue(const char* begin, const char* end)
{
    if (begin != end && *begin == '+')
        ++begin;
    double value = 0;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return (begin != end && *begin == '-') ? -HUGE_VAL : HUGE_VAL;
    return result.ec == std::errc() ? value : 0.0;
}

// The same for a token of number characters (all ASCII), without allocating for the usual short ones.
double tokenValue(QStringView token)
{
    char buffer[64];
    if (token.size() <= qsizetype(sizeof buffer)) {
        for (qsizetype i = 0; i < token.size(); ++i)
            buffer[i] = char(token[i].unicode());
        return tokenValue(buffer, buffer + token.size());
    }
    const QByteArray latin1 = token.toLatin1();
    return tokenValue(latin1.constData(), latin1.constData() + latin1.size());
}

} // namespace

int PTSVGUtils::windingRuleForString(QStringView text)
{
    if (text == u"evenodd")
        return 1;
    if (text == u"inherit")
        return 2;
    return 0;
}

int PTSVGUtils::lineCapStyleForString(QStringView text)
{
    if (text == u"round")
        return 2;
    if (text == u"square")
        return 3;
    if (text == u"inherit")
        return 4;
    return 1;
}

int PTSVGUtils::lineJoinStyleForString(QStringView text)
{
    if (text == u"round")
        return 2;
    if (text == u"bevel")
        return 3;
    if (text == u"inherit")
        return 4;
    return 1;
}

int PTSVGUtils::fontWeightTraitForString(QStringView text, double* weight)
{
    *weight = leadingFloat(text);
    return text == u"bold" ? 2 : 1;
}

int PTSVGUtils::fontStyleStringForString(QStringView text)
{
    return text == u"italic" ? 4 : 1;
}

int PTSVGUtils::unitTypeForString(QStringView text)
{
    return text == u"userSpaceOnUse" ? 0 : 1;
}

int PTSVGUtils::blendModeForString(QStringView text)
{
    const QString lower = text.toString().toLower();
    for (const auto& entry : BlendModes) {
        if (lower == QLatin1StringView(entry.name))
            return entry.mode;
    }
    return 0;
}

QString PTSVGUtils::mixBlendingModeForBlendMode(int mode)
{
    for (const auto& entry : BlendModes) {
        if (entry.mode == mode)
            return QString::fromLatin1(entry.name);
    }
    return {};
}

int PTSVGUtils::typeForCommandString(QStringView command)
{
    if (command.isEmpty())
        return 0;
    return command.front().isLower() ? 1 : 0;
}

QString PTSVGUtils::defURL(QStringView text)
{
    // One per thread: documents parse on worker threads, and a shared expression is only reentrant.
    thread_local const QRegularExpression pattern(QStringLiteral("url\\s?\\(\\s?#(.*?)\\)\\;?"));
    const auto match = pattern.match(text);
    return match.hasMatch() ? match.captured(1) : QString();
}

std::vector<double> PTSVGUtils::scanFloatsFromString(QStringView text)
{
    std::vector<double> values;
    const qsizetype count = text.size();
    qsizetype i = 0;
    while (i < count) {
        if (!isNumberChar(text[i])) {
            ++i;
            continue;
        }
        // One token: number characters up to a separator, a sign that is not an exponent's, or a second point.
        const qsizetype start = i;
        bool hasPoint = false;
        while (i < count && isNumberChar(text[i])) {
            const QChar c = text[i];
            if (i > start) {
                const QChar before = text[i - 1];
                if ((c == u'+' || c == u'-') && before != u'e' && before != u'E')
                    break;
                if (c == u'.' && hasPoint)
                    break;
            }
            hasPoint = hasPoint || c == u'.';
            ++i;
        }
        values.push_back(tokenValue(text.mid(start, i - start)));
    }
    return values;
}

std::vector<double> PTSVGUtils::parseViewBox(QStringView text)
{
    return scanFloatsFromString(text);
}

std::optional<float> PTSVGUtils::scanLeadingFloat(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    // The longest prefix that can form a number: sign, digits, one point, an exponent with its own sign.
    std::string token;
    bool point = false, exponent = false, digits = false;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= '0' && c <= '9') {
            digits = true;
        } else if ((c == '+' || c == '-') && (token.empty() || token.back() == 'e' || token.back() == 'E')) {
        } else if (c == '.' && !point && !exponent) {
            point = true;
        } else if ((c == 'e' || c == 'E') && digits && !exponent) {
            exponent = true;
        } else {
            break;
        }
        token.push_back(char(c));
    }
    if (!digits)
        return std::nullopt;
    return float(tokenValue(token.data(), token.data() + token.size()));
}

double PTSVGUtils::floatValue(QStringView text, double fallBackForPercent)
{
    const double value = leadingFloat(text);
    if (text.contains(u'%'))
        return value * fallBackForPercent / 100.0;
    return value;
}

double PTSVGUtils::floatValue(QStringView text)
{
    return text == u"inherit" ? InheritValue : leadingFloat(text);
}

void PTSVGUtils::logParameters(const std::vector<double>& values)
{
    QString line;
    for (double value : values)
        line += QString::number(value, 'f', 6) + QLatin1Char(' ');
    qCInfo(lcSvg).noquote() << line;
}

double PTSVGUtils::angleBetweenPoints(QPointF a, QPointF b)
{
    const float dot = float(a.x() * b.x() + a.y() * b.y());
    const float lengths = std::sqrt(float(a.x() * a.x() + a.y() * a.y())) * std::sqrt(float(b.x() * b.x() + b.y() * b.y()));
    float angle = std::acos(dot / lengths);
    if (a.y() * b.x() > a.x() * b.y())
        angle = -angle;
    return angle;
}

bool PTSVGIsHTMLTag(QStringView name)
{
    static const QSet<QString> tags = [] {
        const char* names[] = {
            "a", "abbr", "acronym", "address", "applet", "area", "article", "aside", "audio", "b", "base",
            "basefont", "bdi", "bdo", "big", "blockquote", "body", "br", "button", "canvas", "caption", "center",
            "cite", "code", "col", "colgroup", "datalist", "dd", "del", "details", "dfn", "dialog", "dir", "div",
            "dl", "dt", "em", "embed", "fieldset", "figcaption", "figure", "font", "footer", "form", "frame",
            "frameset", "h1", "h6", "head", "header", "hr", "html", "i", "iframe", "img", "input", "ins", "kbd",
            "label", "legend", "li", "link", "main", "map", "mark", "menu", "menuitem", "meta", "meter", "nav",
            "noframes", "noscript", "object", "ol", "optgroup", "option", "output", "p", "param", "picture", "pre",
            "progress", "q", "rp", "rt", "ruby", "s", "samp", "script", "section", "select", "small", "source",
            "span", "strike", "strong", "style", "sub", "summary", "sup", "table", "tbody", "td", "template",
            "textarea", "tfoot", "th", "thead", "time", "title", "tr", "track", "tt", "u", "ul", "var", "video",
            "wbr"};
        QSet<QString> set;
        for (const char* n : names)
            set.insert(QString::fromLatin1(n));
        return set;
    }();
    return tags.contains(name.toString().toLower());
}

bool PTSVGIsPathCommandLetter(QChar c)
{
    switch (c.unicode()) {
    case 'M': case 'm': case 'Z': case 'z': case 'L': case 'l': case 'H': case 'h': case 'V': case 'v':
    case 'C': case 'c': case 'S': case 's': case 'Q': case 'q': case 'T': case 't': case 'A': case 'a':
        return true;
    default:
        return false;
    }
}

QString PTSVGShortFloatString(double value)
{
    return QLocale::c().toString(value, 'g', 6);
}

QString PTSVGFloatToString(int precision, double value)
{
    const QString text = QString::number(value, 'f', precision);
    const float single = text.toFloat();
    if (single == std::trunc(single))
        return QString::number(qint64(single));
    return text;
}

double PTSVGDegreesToRadians(double degrees)
{
    return degrees * Pi / 180.0;
}

double PTSVGRadiansToDegrees(double radians)
{
    return radians * 180.0 / Pi;
}

double PTSVGAcosDegrees(double x)
{
    return PTSVGRadiansToDegrees(std::acos(float(x)));
}

double PTSVGAsinDegrees(double x)
{
    return PTSVGRadiansToDegrees(std::asin(float(x)));
}

double PTSVGAtanDegrees(double x)
{
    return PTSVGRadiansToDegrees(std::atan(float(x)));
}

double PTSVGSinDegrees(double degrees)
{
    return std::sin(float(PTSVGDegreesToRadians(degrees)));
}

double PTSVGTanDegrees(double degrees)
{
    return std::tan(float(PTSVGDegreesToRadians(degrees)));
}
