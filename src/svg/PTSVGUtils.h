#pragma once

#include <QPointF>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

// Keyword parsers, the one number scanner, url(#id) references and number printing shared by the SVG engine.
// Everything here is stateless apart from tables built once on first use.
class PTSVGUtils {
public:
    // "evenodd" 1, "inherit" 2, anything else 0 (nonzero).
    static int windingRuleForString(QStringView text);
    // "butt" 1, "round" 2, "square" 3, "inherit" 4, anything else 1.
    static int lineCapStyleForString(QStringView text);
    // "miter"/"mitre" 1, "round" 2, "bevel" 3, "inherit" 4, anything else 1.
    static int lineJoinStyleForString(QStringView text);
    // "bold" 2, anything else 1; weight receives the text's leading number (0 when there is none).
    static int fontWeightTraitForString(QStringView text, double* weight);
    // "italic" 4, anything else 1.
    static int fontStyleStringForString(QStringView text);
    // "userSpaceOnUse" 0, anything else 1 (objectBoundingBox).
    static int unitTypeForString(QStringView text);
    // CSS blend-mode name, case-insensitive, to its number (0 normal, also for unknown names).
    static int blendModeForString(QStringView text);
    // The CSS name of a blend-mode number; empty for 0 and numbers outside 1..15.
    static QString mixBlendingModeForBlendMode(int mode);
    // 0 absolute when the command letter is upper case, 1 relative.
    static int typeForCommandString(QStringView command);

    // The id inside the first url(#id) of the text, or an empty string.
    static QString defURL(QStringView text);
    // Every number of the text in order. Any character outside "0123456789eE+-." separates numbers; a sign starts
    // a new number except right after an exponent letter; a second point starts a new number.
    static std::vector<double> scanFloatsFromString(QStringView text);
    // The numbers of a viewBox attribute; callers use the first four.
    static std::vector<double> parseViewBox(QStringView text);
    // The leading number of the text in single precision, white space skipped; none when no digit leads.
    static std::optional<float> scanLeadingFloat(QStringView text);
    // The same, 0 when there is none.
    static float leadingFloat(QStringView text) { return scanLeadingFloat(text).value_or(0.0f); }
    // The leading number; when the text holds "%", that percentage of the reference.
    static double floatValue(QStringView text, double fallBackForPercent);
    // What floatValue() answers for "inherit", a value no length takes.
    static constexpr double InheritValue = -99.9999991;
    // The leading number, or InheritValue for "inherit".
    static double floatValue(QStringView text);
    // Writes the values to the log on one line, each as "%f " (six decimals and a blank); for tracing the scanner.
    static void logParameters(const std::vector<double>& values);
    // Signed angle from a to b in radians, negative when a.y*b.x > a.x*b.y.
    static double angleBetweenPoints(QPointF a, QPointF b);
};

// Whether the lower-cased name is one of the HTML element names the parser treats as plain groups.
bool PTSVGIsHTMLTag(QStringView name);
// One of the twenty path-command letters "MmZzLlHhVvCcSsQqTtAa".
bool PTSVGIsPathCommandLetter(QChar c);
// The shortest round-trip text of a number ("%g" style, at most six significant digits).
QString PTSVGShortFloatString(double value);
// The number with the given digits after the point; a whole result prints without them.
QString PTSVGFloatToString(int precision, double value);
double PTSVGDegreesToRadians(double degrees);
double PTSVGRadiansToDegrees(double radians);
// Inverse functions of a single-precision argument, answering degrees.
double PTSVGAcosDegrees(double x);
double PTSVGAsinDegrees(double x);
double PTSVGAtanDegrees(double x);
// Sine and tangent of an angle in degrees, computed in single precision.
double PTSVGSinDegrees(double degrees);
double PTSVGTanDegrees(double degrees);
