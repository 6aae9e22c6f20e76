#include "AppTestWidgets.h"
#include "TestSupport.h"

#include "app/PTAddButton.h"
#include "app/PTPrefsButton.h"
#include "app/PTToolbarSeperatorIndicatorView.h"
#include "app/PTWindow.h"
#include "app/PTWindowTitleBar.h"
#include "ui/theme/PTThemeController.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace {

class WindowChromeTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        PTThemeController::defaultController().setDefaultAppearance(PTAppearanceAqua, PTAppearancePreferenceAutomatic);
    }
};

// The band writes its window's title in the middle, in the theme's title colour, and follows a new title.
TEST_F(WindowChromeTest, TheBandWritesTheWindowTitleInTheMiddle)
{
    PTWindow window;
    window.resize(600, 200);
    window.show();
    PTWindowTitleBar* bar = window.titleBar();
    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        const bool dark = appearance == PTAppearanceDark;
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
        window.setWindowTitle(dark ? QStringLiteral("Pictern Dark") : QStringLiteral("Pictern"));
        QApplication::processEvents();
        const QString name = dark ? QStringLiteral("app-window-title-dark") : QStringLiteral("app-window-title-light");
        SCOPED_TRACE(name.toStdString());
        const QString file = apptest::writeScreenshot(bar, name);
        ASSERT_FALSE(file.isEmpty());
        const QImage image = QImage(file).convertToFormat(QImage::Format_RGB32);

        const QRect title = bar->titleRect().toAlignedRect();
        EXPECT_NEAR(title.center().x(), bar->width() / 2, 1) << "centred across";
        EXPECT_NEAR(title.center().y(), bar->height() / 2, 1) << "centred down";
        EXPECT_GT(title.width(), 40);
        // The strongest stroke of the letters reaches the title colour.
        QColor strongest = image.pixelColor(title.topLeft());
        for (int y = title.top(); y <= title.bottom(); ++y) {
            for (int x = title.left(); x <= title.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (dark ? c.lightness() > strongest.lightness() : c.lightness() < strongest.lightness())
                    strongest = c;
            }
        }
        EXPECT_TRUE(apptest::near(strongest, PTWindowTitleBar::titleColor(), 12)) << strongest.name().toStdString();
        // Left and right of it the band is plain.
        const int row = title.center().y();
        EXPECT_TRUE(apptest::near(image.pixelColor(title.left() - 12, row), image.pixelColor(30, row)));
        EXPECT_TRUE(apptest::near(image.pixelColor(title.right() + 12, row), image.pixelColor(30, row)));
    }
}

// Reversed, the band turns over: its edge line runs along the top instead of the bottom, in both themes, and the
// title is still written upright in the middle.
TEST_F(WindowChromeTest, AReversedBandDrawsItsEdgeAlongTheTop)
{
    PTWindow window;
    window.resize(600, 200);
    window.setWindowTitle(QStringLiteral("Pictern"));
    window.show();
    PTWindowTitleBar* bar = window.titleBar();
    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        PTThemeController::defaultController().setDefaultAppearance(appearance, PTAppearancePreferenceManual);
        for (bool reversed : {false, true}) {
            SCOPED_TRACE(testing::Message() << "dark " << (appearance == PTAppearanceDark) << " reversed " << reversed);
            bar->setReversed(reversed);
            QApplication::processEvents();
            const QImage image = bar->grab().toImage().convertToFormat(QImage::Format_RGB32);
            const int x = 40;
            const int top = image.pixelColor(x, 0).lightness();
            const int bottom = image.pixelColor(x, image.height() - 1).lightness();
            const int belowTop = image.pixelColor(x, 2).lightness();
            const int aboveBottom = image.pixelColor(x, image.height() - 3).lightness();
            if (reversed) {
                EXPECT_LT(top, belowTop - 10) << "the line is along the top";
                EXPECT_GE(bottom, aboveBottom - 10) << "no line along the bottom";
            } else {
                EXPECT_LT(bottom, aboveBottom - 10) << "the line is along the bottom";
                EXPECT_GE(top, belowTop - 10) << "no line along the top";
            }
            EXPECT_TRUE(bar->isFlipped() == reversed);
            EXPECT_NEAR(bar->titleRect().center().y(), bar->height() / 2, 1);
        }
    }
}

// The mark between toolbar groups lets clicks through to whatever lies under it.
TEST_F(WindowChromeTest, AClickOnTheSeparatorMarkReachesTheViewBelow)
{
    QWidget host;
    host.setAccessibleName(QStringLiteral("Host"));
    host.resize(120, 60);
    QPushButton below(QStringLiteral("Below"), &host);
    below.setGeometry(0, 0, 120, 60);
    PTToolbarSeperatorIndicatorView mark(&host);
    mark.move(40, 10);
    mark.raise();
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QSignalSpy clicked(&below, &QPushButton::clicked);
    const QPoint onMark = mark.geometry().center();
    EXPECT_EQ(host.childAt(onMark), &below);
    QTest::mouseClick(host.windowHandle(), Qt::LeftButton, {}, onMark);
    EXPECT_EQ(clicked.count(), 1);
}

// Moving the window to a screen of scale 2 draws the glyphs and the band's sheen anew at that scale. Needs the two
// screens of the test_app.two-screens run; skipped in runs with one screen.
TEST_F(WindowChromeTest, GlyphsAreDrawnAgainAtTheScaleOfANewScreen)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2) {
        if (qEnvironmentVariableIsSet("PICTERN_TEST_TWO_SCREENS"))
            FAIL() << "the run was to have two screens";
        GTEST_SKIP() << "one screen";
    }
    ASSERT_DOUBLE_EQ(screens.at(0)->devicePixelRatio(), 1.0);
    ASSERT_DOUBLE_EQ(screens.at(1)->devicePixelRatio(), 2.0);

    PTWindow window;
    auto* add = new PTAddButton;
    auto* prefs = new PTPrefsButton;
    window.titleBar()->itemLayout()->addWidget(add);
    window.titleBar()->itemLayout()->addWidget(prefs);
    window.resize(400, 200);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(window.windowHandle()->screen(), screens.at(0));
    for (PTToolbarButton* button : {static_cast<PTToolbarButton*>(add), static_cast<PTToolbarButton*>(prefs)}) {
        EXPECT_EQ(button->icon().devicePixelRatio(), 1.0);
        EXPECT_EQ(button->icon().size(), QSize(16, 16));
    }
    EXPECT_EQ(window.titleBar()->backgroundImage().height(), PTWindowTitleBar::Height);
    const QImage plusAtOne = add->icon();

    window.windowHandle()->setScreen(screens.at(1));
    window.move(screens.at(1)->geometry().topLeft() + QPoint(20, 20));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return add->icon().devicePixelRatio() == 2.0; }));
    for (PTToolbarButton* button : {static_cast<PTToolbarButton*>(add), static_cast<PTToolbarButton*>(prefs)}) {
        EXPECT_EQ(button->icon().devicePixelRatio(), 2.0);
        EXPECT_EQ(button->icon().size(), QSize(32, 32)) << "drawn anew, not scaled up";
        EXPECT_EQ(button->icon().deviceIndependentSize(), QSizeF(16, 16));
    }
    EXPECT_EQ(window.titleBar()->backgroundImage().devicePixelRatio(), 2.0);
    EXPECT_EQ(window.titleBar()->backgroundImage().height(), 2 * PTWindowTitleBar::Height);
    // The plus's arm is two points wide: four pixels at scale 2, with hard edges rather than a blur of two.
    const QImage plus = add->icon();
    int opaque = 0;
    for (int x = 0; x < plus.width(); ++x)
        opaque += qAlpha(plus.pixel(x, 8)) > 250;
    EXPECT_EQ(opaque, 4);
    EXPECT_EQ(qAlpha(plusAtOne.pixel(7, 5)), 255);

    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.devicePixelRatio(), 2.0);
    ASSERT_TRUE(pt::test::writeScreenshot(shot, QStringLiteral("app-toolbar-glyphs-scale-2")));
}

} // namespace
