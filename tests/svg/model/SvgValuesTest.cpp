// Numbers, keywords, lengths, colours and style strings: the values every attribute goes through.
#include "svg/model/PTSVGArc.h"
#include "svg/model/PTSVGColor.h"
#include "svg/model/PTSVGGradientUnitLength.h"
#include "svg/parse/PTSVGStyle.h"
#include "svg/model/PTSVGUnitLength.h"
#include "svg/PTSVGUtils.h"

#include <QLocale>
#include <QVariant>

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct ScanCase {
    const char* text;
    std::vector<double> numbers;
};

void expectScans(const std::vector<ScanCase>& cases)
{
    for (const auto& c : cases)
        EXPECT_EQ(PTSVGUtils::scanFloatsFromString(QString::fromLatin1(c.text)), c.numbers) << c.text;
}

const std::vector<ScanCase> ScanCases = {
    {"10-20", {10, -20}},
    {"1e-5", {0.00001}},
    {"2.5E+3,1", {2500, 1}},
    {"0.5.5", {0.5, 0.5}},
    {"M10,20L30 40", {10, 20, 30, 40}},
    {"-.5-.5", {-0.5, -0.5}},
    {"+3", {3}},
    {"-", {0}},
    {".", {0}},
    {"", {}},
    {"1 2\n3\t4", {1, 2, 3, 4}},
    {"12345678901234567890123456789012345678901234567890.25", {12345678901234567890123456789012345678901234567890.25}},
};

// Switches the process to a decimal-comma locale (de_DE.UTF-8, which scripts/install-deps makes) and Qt's
// default locale to German; restores both afterwards.
class CommaLocale {
public:
    CommaLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
    }
    ~CommaLocale()
    {
        std::setlocale(LC_ALL, "C");
        QLocale::setDefault(QLocale::c());
    }
    // Whether the C library now writes numbers with a decimal comma.
    static bool active()
    {
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 1.5);
        return std::string(text) == "1,5";
    }
};

} // namespace

TEST(SvgNumbers, ScannerSplitsNumbersAtSignsPointsAndSeparators)
{
    expectScans(ScanCases);
}

TEST(SvgNumbers, ParsingAndPrintingIgnoreTheProcessLocale)
{
    CommaLocale locale;
    ASSERT_TRUE(CommaLocale::active()) << "de_DE.UTF-8 is missing: run scripts/install-deps";
    expectScans(ScanCases);
    EXPECT_FLOAT_EQ(PTSVGUtils::leadingFloat(u"1.5px"), 1.5f);
    EXPECT_EQ(PTSVGShortFloatString(0.25), QStringLiteral("0.25"));
    EXPECT_EQ(PTSVGFloatToString(2, 3.14159), QStringLiteral("3.14"));
    EXPECT_EQ(PTSVGUnitLength(0.5, PTSVGUnitLength::Percentage).stringValue(), QStringLiteral("50%"));
    EXPECT_EQ(PTSVGColor::colorStringFromColor(QColor::fromRgbF(1, 0, 0, 0.5)), QStringLiteral("rgba(255,0,0,0.5)"));

    static QStringList logged;
    logged.clear();
    const QtMessageHandler outer = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& message) { logged << message; });
    PTSVGUtils::logParameters({1.5, -2, 1e-7});
    qInstallMessageHandler(outer);
    EXPECT_EQ(logged, QStringList{"1.500000 -2.000000 0.000000 "});
}

TEST(SvgNumbers, LeadingFloatReadsTheLongestNumericPrefix)
{
    const std::vector<std::pair<const char16_t*, float>> cases = {
        {u"  12px", 12}, {u"-3.5e1x", -35}, {u"50%", 50}, {u"abc", 0}, {u"", 0}, {u"1e", 1}, {u".5.5", 0.5f},
    };
    for (const auto& [text, value] : cases)
        EXPECT_FLOAT_EQ(PTSVGUtils::leadingFloat(text), value) << QString::fromUtf16(text).toStdString();
}

TEST(SvgNumbers, FloatValuesAndFontKeywords)
{
    EXPECT_DOUBLE_EQ(PTSVGUtils::floatValue(u"inherit"), PTSVGUtils::InheritValue);
    EXPECT_FLOAT_EQ(PTSVGUtils::floatValue(u" 2.5em"), 2.5f);
    EXPECT_DOUBLE_EQ(PTSVGUtils::floatValue(u"50%", 30), 15);
    const struct {
        const char16_t* text;
        int trait;
        double weight;
    } weights[] = {{u"bold", 2, 0}, {u"700", 1, 700}, {u"normal", 1, 0}, {u"Bold", 1, 0}};
    for (const auto& entry : weights) {
        double weight = -1;
        EXPECT_EQ(PTSVGUtils::fontWeightTraitForString(entry.text, &weight), entry.trait);
        EXPECT_DOUBLE_EQ(weight, entry.weight);
    }
    EXPECT_EQ(PTSVGUtils::fontStyleStringForString(u"italic"), 4);
    EXPECT_EQ(PTSVGUtils::fontStyleStringForString(u"oblique"), 1);
}

TEST(SvgNumbers, DegreeFunctions)
{
    const struct {
        const char* name;
        double value;
        double expected;
    } cases[] = {
        {"degrees to radians", PTSVGDegreesToRadians(180), M_PI},
        {"radians to degrees", PTSVGRadiansToDegrees(M_PI / 2), 90},
        {"acos", PTSVGAcosDegrees(0.5), 60},
        {"asin", PTSVGAsinDegrees(-1), -90},
        {"atan", PTSVGAtanDegrees(1), 45},
        {"sin", PTSVGSinDegrees(30), 0.5},
        {"tan", PTSVGTanDegrees(-45), -1},
        {"arc: degrees to radians", PTSVGArc::degreesToRadians(-90), -M_PI / 2},
        {"arc: vector length", PTSVGArc::vectorLength({-3, 4}), 5},
    };
    // The single-precision ones agree to float accuracy only.
    for (const auto& entry : cases)
        EXPECT_NEAR(entry.value, entry.expected, 1e-5) << entry.name;
}

TEST(SvgNumbers, FloatPrinting)
{
    EXPECT_EQ(PTSVGFloatToString(2, 2.0), QStringLiteral("2"));
    EXPECT_EQ(PTSVGFloatToString(2, 2.001), QStringLiteral("2"));
    EXPECT_EQ(PTSVGFloatToString(2, -1.256), QStringLiteral("-1.26"));
    EXPECT_EQ(PTSVGShortFloatString(1.0 / 3.0), QStringLiteral("0.333333"));
    EXPECT_EQ(PTSVGShortFloatString(100), QStringLiteral("100"));
}

TEST(SvgKeywords, KeywordParsers)
{
    EXPECT_EQ(PTSVGUtils::blendModeForString(u"Multiply"), 1);
    EXPECT_EQ(PTSVGUtils::blendModeForString(u"MULTIPLY"), 1);
    EXPECT_EQ(PTSVGUtils::blendModeForString(u"plus-lighter"), 0);
    EXPECT_EQ(PTSVGUtils::mixBlendingModeForBlendMode(1), QStringLiteral("multiply"));
    EXPECT_EQ(PTSVGUtils::mixBlendingModeForBlendMode(15), QStringLiteral("luminosity"));
    EXPECT_TRUE(PTSVGUtils::mixBlendingModeForBlendMode(0).isEmpty());
    EXPECT_TRUE(PTSVGUtils::mixBlendingModeForBlendMode(16).isEmpty());
    EXPECT_EQ(PTSVGUtils::lineJoinStyleForString(u"miter"), 1);
    EXPECT_EQ(PTSVGUtils::lineJoinStyleForString(u"bevel"), 3);
    EXPECT_EQ(PTSVGUtils::lineCapStyleForString(u"Round"), 1);
    EXPECT_EQ(PTSVGUtils::lineCapStyleForString(u"round"), 2);
    EXPECT_EQ(PTSVGUtils::windingRuleForString(u"evenodd"), 1);
    EXPECT_EQ(PTSVGUtils::windingRuleForString(u"inherit"), 2);
    EXPECT_EQ(PTSVGUtils::windingRuleForString(u"nonzero"), 0);
    EXPECT_EQ(PTSVGUtils::unitTypeForString(u"userSpaceOnUse"), 0);
    EXPECT_EQ(PTSVGUtils::unitTypeForString(u"objectBoundingBox"), 1);
    EXPECT_TRUE(PTSVGIsHTMLTag(u"DIV"));
    EXPECT_FALSE(PTSVGIsHTMLTag(u"h3"));
    EXPECT_TRUE(PTSVGIsPathCommandLetter(u'a'));
    EXPECT_FALSE(PTSVGIsPathCommandLetter(u'e'));
}

TEST(SvgKeywords, UrlReferences)
{
    EXPECT_EQ(PTSVGUtils::defURL(u"url(#grad1)"), QStringLiteral("grad1"));
    EXPECT_EQ(PTSVGUtils::defURL(u"url( #grad1);"), QStringLiteral("grad1"));
    EXPECT_EQ(PTSVGUtils::defURL(u"url(#a) url(#b)"), QStringLiteral("a"));
    EXPECT_TRUE(PTSVGUtils::defURL(u"red").isEmpty());
}

TEST(SvgLengths, ParsingComputingAndPrinting)
{
    const auto half = PTSVGUnitLength::unitWithString(u"50%");
    ASSERT_TRUE(half);
    EXPECT_EQ(half->type(), PTSVGUnitLength::Percentage);
    EXPECT_DOUBLE_EQ(half->value(), 0.5);
    EXPECT_DOUBLE_EQ(half->computeValue(100), 50);
    EXPECT_EQ(half->stringValue(), QStringLiteral("50%"));
    EXPECT_EQ(PTSVGGradientUnitLength(*half).stringValue(), QStringLiteral("0.5"));

    const auto px = PTSVGUnitLength::unitWithString(u"12px");
    ASSERT_TRUE(px);
    EXPECT_EQ(px->type(), PTSVGUnitLength::Number);
    EXPECT_DOUBLE_EQ(px->computeValue(100), 12);
    EXPECT_EQ(px->stringValue(), QStringLiteral("12"));

    EXPECT_FALSE(PTSVGUnitLength::unitWithString(u"inherit"));
    EXPECT_DOUBLE_EQ(PTSVGUnitLength::unitWithString(u"junk")->value(), 0);

    const auto fraction = PTSVGUnitLength::unitWithPercentageString(u"0.5");
    EXPECT_EQ(fraction->type(), PTSVGUnitLength::Percentage);
    EXPECT_DOUBLE_EQ(fraction->value(), 0.5);
    EXPECT_DOUBLE_EQ(PTSVGUnitLength::unitWithPercentageString(u"50%")->value(), 0.5);
    EXPECT_DOUBLE_EQ(PTSVGUnitLength::unitWithPercentageString(u"50")->value(), 50);
}

TEST(SvgColors, ParsingTable)
{
    struct Case {
        const char* text;
        std::optional<QColor> color;
    };
    const std::vector<Case> cases = {
        {" Red ", QColor(255, 0, 0)},
        {"re", std::nullopt},
        {"CurrentColor", QColor(0, 0, 0)},
        {"aliceblue", QColor(0xf0, 0xf8, 0xff)},
        {"grey", QColor(0x80, 0x80, 0x80)},
        {"none", QColor(0, 0, 0, 0)},
        {"#abc", QColor(0xaa, 0xbb, 0xcc)},
        {"abc", QColor(0xaa, 0xbb, 0xcc)},
        {"#AABBCC", QColor(0xaa, 0xbb, 0xcc)},
        {"#ggg", std::nullopt},
        {"rgb(255,0,0)", QColor(255, 0, 0)},
        {"rgb(255, 128, 0)", QColor(255, 128, 0)},
        {"rgba(255,0,0,0.5)", QColor::fromRgbF(1, 0, 0, 0.5)},
        {"rgb(255,0,0,0.5)", QColor::fromRgbF(1, 0, 0, 0.5)},
        {"rgb(100%, 0%, 50%)", QColor::fromRgbF(1, 0, 0.5)},
        {"rgba(100%,100%,100%,50%)", QColor::fromRgbF(1, 1, 1, 0.5)},
        {"rgb(300,-5,0)", QColor(255, 0, 0)},
        {"rgb(1,2)", std::nullopt},
        {"hsl(120,100%,50%)", QColor(0, 255, 0)},
        {"hsl(480,100%,50%)", QColor(0, 255, 0)},
        {"hsla(0,100%,50%,0.5)", QColor::fromRgbF(1, 0, 0, 0.5)},
        {"hsl(0,0%,100%)", QColor(255, 255, 255)},
    };
    for (const auto& c : cases) {
        const auto color = PTSVGColor::colorFromString(QString::fromLatin1(c.text));
        ASSERT_EQ(color.has_value(), c.color.has_value()) << c.text;
        if (!color)
            continue;
        EXPECT_EQ(color->toRgb().rgba(), c.color->toRgb().rgba()) << c.text;
    }
}

TEST(SvgColors, Printing)
{
    const QColor red(255, 0, 0);
    EXPECT_EQ(PTSVGColor::colorStringFromColor(red), QStringLiteral("#F00"));
    EXPECT_EQ(PTSVGColor::colorStringFromColor(red, false, false), QStringLiteral("#FF0000"));
    EXPECT_EQ(PTSVGColor::colorStringFromColor(QColor(0x12, 0x34, 0x56)), QStringLiteral("#123456"));
    EXPECT_EQ(PTSVGColor::colorStringFromColor(PTSVGColor::changeAlphaOnColor(red, 0)), QStringLiteral("none"));
    EXPECT_EQ(PTSVGColor::colorStringFromColor(PTSVGColor::changeAlphaOnColor(red, 0.004)), QStringLiteral("none"));
    EXPECT_EQ(PTSVGColor::colorStringFromColor(PTSVGColor::changeAlphaOnColor(red, 0.999)),
              QStringLiteral("rgba(255,0,0,0.99)"));
    EXPECT_EQ(PTSVGColor::colorStringFromColor(PTSVGColor::changeAlphaOnColor(red, 0), true), QStringLiteral("#F00"));
}

TEST(SvgStyle, StyleStrings)
{
    const auto style = PTSVGStyle::parseStyleString(u"fill: red; stroke : blue");
    ASSERT_TRUE(style.property(QStringLiteral("fill")));
    EXPECT_EQ(*style.property(QStringLiteral("fill")), QStringLiteral("red"));
    EXPECT_EQ(*style.property(QStringLiteral("stroke")), QStringLiteral("blue"));

    EXPECT_EQ(*PTSVGStyle::parseStyleString(u"fill:red").property(QStringLiteral("fill")), QStringLiteral("red"));
    EXPECT_EQ(*PTSVGStyle::parseStyleString(u"fill:;").property(QStringLiteral("fill")), QString());
    EXPECT_TRUE(PTSVGStyle::parseStyleString(u"").isEmpty());
    const auto cased = PTSVGStyle::parseStyleString(u"Fill:red;fill:blue;fill:green");
    EXPECT_EQ(*cased.property(QStringLiteral("Fill")), QStringLiteral("red"));
    EXPECT_EQ(*cased.property(QStringLiteral("fill")), QStringLiteral("green"));

    const auto merged = style.mergedStyle(PTSVGStyle::parseStyleString(u"fill:green;opacity:0.5"));
    EXPECT_EQ(*merged.property(QStringLiteral("fill")), QStringLiteral("green"));
    EXPECT_EQ(*merged.property(QStringLiteral("stroke")), QStringLiteral("blue"));
    EXPECT_EQ(*merged.property(QStringLiteral("opacity")), QStringLiteral("0.5"));
}

TEST(SvgColors, KeywordsByIndexFollowTheKeywordTable)
{
    EXPECT_EQ(PTSVGColor::colorNameFromPredefinedColor(0), QStringLiteral("aliceblue"));
    EXPECT_EQ(PTSVGColor::colorNameFromPredefinedColor(146), QStringLiteral("yellowgreen"));
    EXPECT_FALSE(PTSVGColor::colorNameFromPredefinedColor(147));
    EXPECT_FALSE(PTSVGColor::colorNameFromPredefinedColor(-1));
    // All 147 keywords, each once, in alphabetical order, each a colour the parser knows.
    QString previous;
    for (int index = 0; index < 147; ++index) {
        const auto name = PTSVGColor::colorNameFromPredefinedColor(index);
        ASSERT_TRUE(name) << index;
        EXPECT_LT(previous, *name) << name->toStdString();
        EXPECT_NE(*name, QStringLiteral("currentcolor"));
        EXPECT_TRUE(PTSVGColor::colorFromPredefinedColorName(*name)) << name->toStdString();
        previous = *name;
    }
}

TEST(SvgColors, ColourTextShapeAndColourValues)
{
    struct Case {
        const char* text;
        bool isColor;
    };
    const Case cases[] = {
        {"#fff", true}, {"#", true}, {"rgb(1,2,3)", true}, {"rgba(1,2,3,0.5)", true},
        {"red", false}, {"none", false}, {" #fff", false}, {"RGB(1,2,3)", false}, {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PTSVGColor::isColor(QString::fromLatin1(c.text)), c.isColor) << c.text;

    const QColor red(255, 0, 0, 128);
    EXPECT_EQ(PTSVGColor::computeColor(QVariant::fromValue(red)), red);
    EXPECT_FALSE(PTSVGColor::computeColor(QVariant(QStringLiteral("red"))));
    EXPECT_FALSE(PTSVGColor::computeColor(QVariant(0xff0000)));
    EXPECT_FALSE(PTSVGColor::computeColor(QVariant()));
}

TEST(SvgLengths, ValueAsPercentageDividesTheStoredValue)
{
    EXPECT_DOUBLE_EQ(PTSVGUnitLength(50).valueAsPercentage(), 0.5);
    // A percentage already holds its fraction: 50% is 0.5, so this gives 0.005.
    EXPECT_DOUBLE_EQ(PTSVGUnitLength::unitWithString(u"50%")->valueAsPercentage(), 0.005);
}

TEST(SvgStyle, ColourKeysNumbersAndBulkProperties)
{
    EXPECT_EQ(PTSVGStyle::allowedColourKeys(),
              (QStringList{QStringLiteral("fill"), QStringLiteral("stroke-colour"), QStringLiteral("stop-color"),
                           QStringLiteral("stroke")}));

    struct NumericCase {
        const char* text;
        bool numeric;
    };
    const NumericCase numericCases[] = {
        {"12", true}, {" 12px", true}, {"-3", true}, {"+.5", true}, {".5em", true}, {"1e3", true}, {"0", true},
        {"px", false}, {"-", false}, {".", false}, {"e5", false}, {"", false}, {"none", false},
    };
    for (const auto& c : numericCases)
        EXPECT_EQ(PTSVGStyle::isNumeric(QString::fromLatin1(c.text)), c.numeric) << c.text;

    using Properties = std::vector<PTSVGStyle::Property>;
    const Properties given = {{QStringLiteral("fill"), QStringLiteral("blue")},
                              {QStringLiteral("opacity"), QStringLiteral("0.5")}};
    auto style = PTSVGStyle::parseStyleString(u"fill:red;stroke:green");
    style.setProperties(given, false);
    EXPECT_EQ(style.properties(), (Properties{{QStringLiteral("fill"), QStringLiteral("blue")},
                                              {QStringLiteral("stroke"), QStringLiteral("green")},
                                              {QStringLiteral("opacity"), QStringLiteral("0.5")}}));
    style.setProperties(given, true);
    EXPECT_EQ(style.properties(), given);
    style.setProperties({}, true);
    EXPECT_TRUE(style.isEmpty());
}
