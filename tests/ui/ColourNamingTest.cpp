#include "ui/colour/HSBComponents.h"
#include "ui/colour/NameThatColor.h"

#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(ColourNamingTest, NamesExactAndNearestColours)
{
    struct Case {
        const char* color;
        const char* name;
        bool exact;
    };
    const Case cases[] = {
        {"#000000", "Black", true},
        {"#FFFFFF", "White", true},
        {"#808080", "Gray", true},
        {"#000080", "Navy Blue", true},
        {"#FF0000", "Red", true},
        {"#FE0101", "Red", false},
        {"#0101FE", "Blue", false},
        // The first two default swatches are named by their nearest rows.
        {"#FF334C", "Radical Red", false},
        {"#0076FF", "Azure Radiance", false},
    };
    for (const Case& c : cases) {
        bool exact = !c.exact;
        EXPECT_EQ(NameThatColor::ntc_name(QColor::fromString(c.color), &exact), c.name) << c.color;
        EXPECT_EQ(exact, c.exact) << c.color;
    }
    // A colour held as HSV is compared as device RGB.
    EXPECT_EQ(NameThatColor::ntc_name(QColor::fromHsv(0, 255, 255)), "Red");
}

TEST(ColourNamingTest, TableIsSortedDistinctAndHoldsTheKnownRows)
{
    const auto& table = NameThatColor::ntc_array();
    ASSERT_EQ(table.size(), 1566u);
    EXPECT_EQ(table.front().hex, "000000");
    EXPECT_EQ(table.back().hex, "FFFFFF");
    // Letters, spaces, apostrophes and slashes only, capitalised, with " / " between alternatives; padding in the
    // list is not part of a name.
    const QRegularExpression nameFormat(QStringLiteral("^[A-Z][A-Za-z']*( (/ )?[A-Za-z']+)*$"));
    QSet<QString> keys, names;
    QHash<QString, QString> byKey;
    for (size_t i = 0; i < table.size(); ++i) {
        if (i > 0)
            EXPECT_LT(table[i - 1].hex, table[i].hex);
        EXPECT_TRUE(nameFormat.match(table[i].name).hasMatch()) << table[i].name.toStdString();
        keys.insert(table[i].hex);
        names.insert(table[i].name);
        byKey.insert(table[i].hex, table[i].name);
    }
    EXPECT_EQ(keys.size(), qsizetype(table.size()));
    EXPECT_EQ(names.size(), qsizetype(table.size()));
    const std::pair<const char*, const char*> rows[] = {
        {"000000", "Black"},          {"000080", "Navy Blue"}, {"0000FF", "Blue"},
        {"00FFFF", "Cyan / Aqua"},    {"007FFF", "Azure Radiance"}, {"808080", "Gray"},
        {"FF0000", "Red"},            {"FF00FF", "Magenta / Fuchsia"}, {"FF355E", "Radical Red"},
        {"FFFFFF", "White"},
    };
    for (const auto& [hex, name] : rows)
        EXPECT_EQ(byKey.value(hex), name) << hex;
}

TEST(ColourNamingTest, ComponentsHexAndDegrees)
{
    EXPECT_EQ(HSBComponents::HEXString(QColor::fromRgbF(0.5f, 0.25f, 1.0f)), "8040FF");
    EXPECT_EQ(HSBComponents::HEXString(QColor()), "000000");

    EXPECT_DOUBLE_EQ(HSBComponents::addDegrees(180, 270), 90);
    EXPECT_DOUBLE_EQ(HSBComponents::addDegrees(180, 180), 360);
    EXPECT_DOUBLE_EQ(HSBComponents::addDegrees(-60, 30), 30);

    const PTHSBComponents grey = HSBComponents::HSBComponents(QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(grey.hue, 0);
    EXPECT_EQ(grey.saturation, 0);
    EXPECT_NEAR(grey.brightness, 128 / 255.0, 1e-4);
    EXPECT_NEAR(HSBComponents::HSBComponents(QColor(255, 255, 0)).hue, 1 / 6.0, 1e-6);
    EXPECT_NEAR(HSBComponents::HSBComponents(QColor(255, 0, 64)).hue, 1 - 64 / 255.0 / 6, 1e-4);
    // The complement of cyan is red, not a hue of a whole turn.
    EXPECT_EQ(HSBComponents::complementaryColor(QColor(0, 255, 255)), QColor(255, 0, 0));
}

TEST(ColourNamingTest, DarkTestSplitsAtHalfLuminance)
{
    EXPECT_TRUE(HSBComponents::isColorDark(Qt::black));
    EXPECT_FALSE(HSBComponents::isColorDark(Qt::white));
    EXPECT_FALSE(HSBComponents::isColorDark(QColor(0x80, 0x80, 0x80)));
    EXPECT_TRUE(HSBComponents::isColorLight(QColor(0x80, 0x80, 0x80)));
    EXPECT_EQ(HSBComponents::blackOrWhiteContrastingColor(QColor(0x80, 0x80, 0x80)), QColor(Qt::black));
    EXPECT_TRUE(HSBComponents::isColorDark(QColor(0x7F, 0x7F, 0x7F)));
    EXPECT_EQ(HSBComponents::blackOrWhiteContrastingColor(QColor(0x7F, 0x7F, 0x7F)), QColor(Qt::white));
}

} // namespace
