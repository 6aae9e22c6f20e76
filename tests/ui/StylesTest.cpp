#include "ui/theme/PTStyles.h"

#include "ThemeScope.h"

#include <gtest/gtest.h>

namespace {

TEST(StylesTest, ThemedValuesFollowTheCurrentTheme)
{
    ThemeScope theme(PTAppearanceAqua);
    EXPECT_EQ(PTStyles::sidebarBackgroundColor(), QColor(0xF3, 0xF3, 0xF4));
    EXPECT_EQ(PTStyles::windowBackgroundColor(), QColor(0xEC, 0xEC, 0xEC));
    EXPECT_EQ(PTStyles::defaultBlueHEX(), 0x3991FD);

    ThemeScope::set(PTAppearanceDark);
    EXPECT_EQ(PTStyles::sidebarBackgroundColor(), QColor(0x32, 0x32, 0x32));
    EXPECT_EQ(PTStyles::windowBackgroundColor(), QColor(0x32, 0x32, 0x32));
    EXPECT_EQ(PTStyles::defaultBlueHEX(), 0x0082EF);
    EXPECT_EQ(PTStyles::palette(PTAppearanceDark).color(QPalette::Window), PTStyles::windowBackgroundColor());

    EXPECT_FALSE(PTStyles::defaultControlFocusedStrokeColor().isValid());
    EXPECT_EQ(PTStyles::gridBackgroundColorForAppearance(5), QColor(Qt::white));
    EXPECT_EQ(PTStyles::gridBackgroundColorForAppearance(0), QColor(0x1E, 0x1E, 0x1E));
}

TEST(StylesTest, CheckedPatternIsADotEveryEightPixels)
{
    const QImage tile = PTStyles::checkedPatternColorWithTint().texture().toImage();
    ASSERT_EQ(tile.size(), QSize(8, 8));
    EXPECT_GT(qAlpha(tile.pixel(0, 0)), 0);
    EXPECT_EQ(QColor(tile.pixel(0, 0)).rgb() & 0xFFFFFF, 0u);
    EXPECT_EQ(qAlpha(tile.pixel(5, 5)), 0);
}

} // namespace
