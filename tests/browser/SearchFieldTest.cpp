#include "TestSupport.h"

#include "browser/views/PTSearchContainerView.h"
#include "browser/views/PTToolbarSearchField.h"
#include "foundation/ColorPrivate.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class SearchFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        previous = PTThemeController::defaultController().appearance();
        PTThemeController::defaultController().setAppearance(PTAppearanceAqua);
        field.resize(240, 24);
    }
    void TearDown() override { PTThemeController::defaultController().setAppearance(previous); }

    QImage render(QWidget& widget) const
    {
        QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        widget.render(&image);
        return image;
    }

    int previous = PTAppearanceAqua;
    PTToolbarSearchField field;
};

TEST_F(SearchFieldTest, BadgeWidensLeftwardsFromAFixedRightEdge)
{
    EXPECT_EQ(field.badgeCell().proposedSize(), QSizeF(28, 0));
    EXPECT_EQ(field.cancelButtonRect().width(), 28);
    QFont bold;
    bold.setPixelSize(11);
    bold.setBold(true);
    int lastWidth = 0;
    for (const QString title : {"0", "7", "128", "100000"}) {
        field.setBadgeTitle(title);
        const QRect badge = field.cancelButtonRect();
        EXPECT_EQ(badge.width(), std::lround(QFontMetricsF(bold).horizontalAdvance(title) + 34)) << title.toStdString();
        EXPECT_EQ(badge.right() + 1, field.width() - 4);
        EXPECT_EQ(badge.height(), 16);
        EXPECT_GE(badge.width(), lastWidth);
        lastWidth = badge.width();
        // Typed text stops short of the badge.
        EXPECT_EQ(field.textMargins().right(), badge.width() + 4);
    }
    field.setBadgeTitle(QString());
    EXPECT_TRUE(field.badgeTitle().isEmpty());
    EXPECT_EQ(field.textMargins().right(), 28 + 4);
}

TEST_F(SearchFieldTest, PressingTheClosePartDarkensItAloneAndClears)
{
    field.setText("home");
    field.setBadgeTitle("12");
    const QRect badge = field.cancelButtonRect();
    const QPoint close(badge.right() - 3, badge.center().y());
    const QPoint body(badge.left() + 3, badge.center().y());
    const QColor fill = PTColorFromHEX(0xE3E9F4, 1);
    EXPECT_EQ(render(field).pixelColor(close), fill);

    QTest::mousePress(&field, Qt::LeftButton, Qt::NoModifier, close);
    const QImage pressed = render(field);
    EXPECT_EQ(pressed.pixelColor(close), PTColorFromHEX(PTToolbarSearchFieldBadgeCell::PressedCloseHEX, 1));
    EXPECT_EQ(pressed.pixelColor(body), fill);
    QTest::mouseRelease(&field, Qt::LeftButton, Qt::NoModifier, close);
    EXPECT_TRUE(field.text().isEmpty());
    EXPECT_EQ(render(field).pixelColor(close), fill);

    // The count itself clears nothing.
    field.setText("home");
    QTest::mouseClick(&field, Qt::LeftButton, Qt::NoModifier, body);
    EXPECT_EQ(field.text(), "home");
}

TEST_F(SearchFieldTest, EscapeAsksToCancel)
{
    QSignalSpy cancelled(&field, &PTToolbarSearchField::cancelOperation);
    field.setText("home");
    QTest::keyClick(&field, Qt::Key_Escape);
    EXPECT_EQ(cancelled.size(), 1);
    EXPECT_EQ(field.text(), "home");
    EXPECT_FALSE(field.accessibleName().isEmpty());
    EXPECT_FALSE(field.scopeButton()->accessibleName().isEmpty());
}

// The field with a count badge on the search bar, light and dark.
TEST_F(SearchFieldTest, ScreenshotOfTheSearchBar)
{
    for (const auto& [appearance, suffix] : {std::pair{int(PTAppearanceAqua), "light"}, std::pair{int(PTAppearanceDark), "dark"}}) {
        PTThemeController::defaultController().setAppearance(appearance);
        PTSearchContainerView bar;
        bar.resize(280, 40);
        auto* searchField = new PTToolbarSearchField(&bar);
        searchField->setGeometry(20, 8, 240, 24);
        searchField->setText("home");
        searchField->setBadgeTitle("128");
        const QImage shot = render(bar);
        ASSERT_TRUE(pt::test::writeScreenshot(shot, QStringLiteral("search-bar-") + suffix));

        EXPECT_EQ(shot.pixelColor(5, 39), PTColorFromHEX(PTSearchContainerView::LineHEX, 1)); // the bottom row
        EXPECT_NE(shot.pixelColor(5, 38), PTColorFromHEX(PTSearchContainerView::LineHEX, 1));
        const QRect badge = searchField->cancelButtonRect().translated(searchField->pos());
        const QColor fill = appearance == PTAppearanceDark ? PTColorFromHEX(PTStyles::defaultBlueHEX(), 1)
                                                            : PTColorFromHEX(0xE3E9F4, 1);
        EXPECT_EQ(shot.pixelColor(badge.left() + 3, badge.center().y()), fill);  // left of the count
        EXPECT_EQ(shot.pixelColor(badge.right() - 1, badge.center().y()), fill); // the close part's edge
        EXPECT_NE(shot.pixelColor(badge.right() + 3, badge.center().y()), fill); // the field beyond
    }
}

} // namespace
