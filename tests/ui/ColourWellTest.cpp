#include "ui/colour/PTColourPickerControl.h"
#include "ui/colour/PTColourPickerController.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/colour/PTColourWellControlCell.h"
#include "ui/colour/PTSaturationAndBrightnessView.h"
#include "ui/colour/PTToolbarColorWellControl.h"
#include "ui/colour/PTToolbarColourWellControlCell.h"
#include "ui/views/PTPopover.h"

#include "TestSupport.h"
#include "ThemeScope.h"

#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace {

struct Report {
    QColor color;
    QColor original;
};

TEST(ColourWellTest, LabelAndHandlerFollowTheColour)
{
    PTColourPickerControl control;
    control.setDrawsLabels(true);
    EXPECT_EQ(control.label(0), "Default");
    std::vector<Report> reports;
    control.setColorDidChangeHandler([&](const QColor& c, const QColor& o) { reports.push_back({c, o}); });
    EXPECT_TRUE(reports.empty());
    control.setColorWithoutInformingHandlers(QColor(0xFF, 0x33, 0x4C));
    EXPECT_EQ(control.label(0), "#FF334C");
    EXPECT_TRUE(reports.empty());
    control.setColorDidChangeHandler([&](const QColor& c, const QColor& o) { reports.push_back({c, o}); });
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].color, QColor(0xFF, 0x33, 0x4C));
    control.setColor(QColor());
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_FALSE(reports[1].color.isValid());
    EXPECT_EQ(control.label(0), "Default");
    EXPECT_FALSE(control.replacedColorsIfRequired().has_value());

    QMenu menu;
    QAction* coloured = menu.addAction(QStringLiteral("Red"));
    coloured->setData(QColor(Qt::red));
    QAction* plain = menu.addAction(QStringLiteral("Plain"));
    control.setMenuDelegate(&menu);
    emit menu.aboutToShow();
    EXPECT_FALSE(coloured->icon().isNull());
    EXPECT_TRUE(plain->icon().isNull());
}

TEST(ColourWellTest, AClickOpensOnePickerAtBlackForNoColour)
{
    PTColourWellControl well;
    well.resize(60, 24);
    well.show();
    QTest::mouseClick(&well, Qt::LeftButton, {}, QPoint(30, 12));
    PTColourPickerController* picker = well.colorController();
    ASSERT_TRUE(picker);
    EXPECT_EQ(picker->color(), QColor(Qt::black));
    ASSERT_TRUE(picker->popover());
    EXPECT_TRUE(picker->popover()->isVisible());
    QTest::mouseClick(&well, Qt::LeftButton, {}, QPoint(30, 12));
    EXPECT_EQ(well.colorController(), picker);
    picker->popover()->hide();
    EXPECT_EQ(well.colorController(), nullptr);
}

// The picker as the user meets it: in its popover frame, opened from a well, in both themes. The square sits inside
// the frame's padding, white at its top left and black along its bottom, on the theme's popover background.
TEST(ColourWellTest, ThePickerPopoverInBothThemes)
{
    for (const auto& [appearance, suffix] : {std::pair{int(PTAppearanceAqua), "light"},
                                             std::pair{int(PTAppearanceDark), "dark"}}) {
        ThemeScope theme(appearance);
        PTColourWellControl well;
        well.setColor(QColor(0x54, 0xA5, 0xF0));
        well.resize(60, 24);
        well.show();
        QTest::mouseClick(&well, Qt::LeftButton, {}, QPoint(30, 12));
        PTColourPickerController* picker = well.colorController();
        ASSERT_TRUE(picker && picker->popover());
        PTPopover* popover = picker->popover();
        const PTSaturationAndBrightnessView* square = picker->saturationAndBrightnessView();
        // The stack lays the picker out on the next turn of the event loop, and the popover must take its size.
        ASSERT_TRUE(pt::test::runMainQueueUntil(
            [&] { return square->width() > 100 && popover->width() > square->width(); }))
            << suffix;
        const QImage image = popover->grab().toImage();
        EXPECT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("colour-popover-") + QLatin1String(suffix)));
        const QPoint topLeft = square->mapTo(popover, QPoint(3, 3));
        EXPECT_GE(topLeft.x(), 8) << suffix;
        EXPECT_GT(image.pixelColor(topLeft).lightness(), 230) << suffix;
        EXPECT_LT(image.pixelColor(square->mapTo(popover, QPoint(square->width() / 2, square->height() - 3)))
                      .lightness(),
                  20)
            << suffix;
        const int background = image.pixelColor(square->mapTo(popover, QPoint(-4, square->height() / 2))).lightness();
        if (appearance == PTAppearanceDark)
            EXPECT_LT(background, 110) << suffix;
        else
            EXPECT_GT(background, 200) << suffix;
        popover->hide();
    }
}

TEST(ColourWellTest, ReplacementsRecordedByThePickerAreReusedAndDroppedInModeZero)
{
    const QColor red(255, 0, 0), blue(0, 0, 255);
    PTColourPickerControl control;
    control.setColorWithoutInformingHandlers(red);
    control.setMode(1);
    control.setReplacementColors({red, blue});
    std::vector<Report> reports;
    control.setColorDidChangeHandler([&](const QColor& c, const QColor& o) { reports.push_back({c, o}); });
    reports.clear();
    control.showColorPicker();
    PTSaturationAndBrightnessView* square = control.colorController()->saturationAndBrightnessView();
    QTest::mousePress(square, Qt::LeftButton, {}, QPoint(square->width() / 2, square->height() / 2));
    ASSERT_EQ(reports.size(), 1u);
    const QColor picked = reports[0].color;
    EXPECT_EQ(reports[0].original, red);
    EXPECT_EQ(control.color(), picked);
    ASSERT_EQ(control.replacedColors().size(), 1u);
    EXPECT_EQ(control.replacedColors()[0].first, red);
    control.colorController()->popover()->hide();

    control.setColorWithoutInformingHandlers(red);
    control.setReplacementColors({red, blue});
    EXPECT_EQ(control.color(), picked);
    EXPECT_EQ(reports.size(), 2u);

    control.setMode(0);
    EXPECT_TRUE(control.replacedColors().empty());
}

TEST(ColourWellTest, WellRectanglesWidenInAToolbar)
{
    const QRectF frame(0, 0, 40, 24);
    EXPECT_EQ(PTColourWellControlCell::colorRect(frame, false, 3), QRectF(3, 3, 34, 18));
    EXPECT_EQ(PTColourWellControlCell::colorRect(frame, true, 3), QRectF(2, 2, 36, 21));

    QToolBar toolbar;
    auto* inToolbar = new PTColourWellControl;
    toolbar.addWidget(inToolbar);
    PTColourWellControl alone;
    EXPECT_TRUE(inToolbar->isInToolbar());
    EXPECT_FALSE(alone.isInToolbar());

    alone.resize(40, 24);
    alone.setColor(QColor(0, 128, 255));
    const QImage image = alone.grab().toImage();
    EXPECT_EQ(image.pixelColor(20, 12), QColor(0, 128, 255));
}

} // namespace

namespace {

TEST(ColourWellTest, ToolbarWellShowsARainbowUntilItHasAColour)
{
    const QPointF origin = PTToolbarColourWellControlCell::swatchOrigin(QSizeF(30, 24));
    EXPECT_EQ(origin, QPointF(8, 6));
    PTToolbarColorWellControl well;
    well.resize(30, 24);
    QImage image = well.grab().toImage();
    const QColor top = image.pixelColor(16, 7), side = image.pixelColor(9, 14);
    EXPECT_NE(top, side);
    EXPECT_GT(top.saturation(), 60);
    well.setColor(QColor(0, 200, 0));
    image = well.grab().toImage();
    EXPECT_EQ(image.pixelColor(16, 14), QColor(0, 200, 0));
    EXPECT_EQ(image.pixelColor(11, 14), QColor(0, 200, 0));
}

} // namespace
