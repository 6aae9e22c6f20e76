#include "ui/views/PTAppearanceWindow.h"
#include "ui/views/PTPanel.h"
#include "ui/controls/PTTitleLabel.h"
#include "ui/sheets/PTSheetTabView.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarController.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTPopover.h"
#include "ui/views/PTSheet.h"

#include "TestSupport.h"
#include "ThemeScope.h"

#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

TEST(SheetWindowTest, ASheetIsFramelessWhateverItIsAsked)
{
    PTSheet sheet(nullptr, Qt::Window | Qt::WindowTitleHint);
    EXPECT_TRUE(sheet.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(sheet.testAttribute(Qt::WA_TranslucentBackground));
}

TEST(SheetWindowTest, APanelThatRefusesToCloseStaysOpen)
{
    PTPanel panel;
    panel.show();
    panel.setDisableClose(true);
    EXPECT_FALSE(panel.close());
    panel.closeButton()->click();
    EXPECT_TRUE(panel.isVisible());
    panel.setDisableClose(false);
    EXPECT_TRUE(panel.close());
}

TEST(SheetWindowTest, ThemeWindowsTakeTheThemesBackground)
{
    ThemeScope theme(PTAppearanceAqua);
    PTAppearanceWindow window;
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0xEC, 0xEC, 0xEC));
    ThemeScope::set(PTAppearanceDark);
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0x32, 0x32, 0x32));
}

// The window manager draws no title bar for a panel: its own, over the content, shows the buttons unless the panel
// looks modal, and the title only when asked, in both themes.
TEST(SheetWindowTest, APanelDrawsItsOwnTitleBarOverItsContent)
{
    for (int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
        ThemeScope theme(appearance);
        const QString suffix = appearance == PTAppearanceDark ? QStringLiteral("dark") : QStringLiteral("light");
        PTPanel panel;
        EXPECT_TRUE(panel.windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowTitleHint));
        panel.setWindowTitle(QStringLiteral("About Pictern"));
        // Content that reaches the top edge, added after the title bar.
        auto* content = new QWidget(&panel);
        content->setAutoFillBackground(true);
        QPalette palette = content->palette();
        palette.setColor(QPalette::Window, QColor(0x40, 0x80, 0x40));
        content->setPalette(palette);
        panel.resize(320, 160);
        content->resize(panel.size());
        panel.show();
        const QColor fill(0x40, 0x80, 0x40);
        const QRect titleBand(70, 0, 180, PTPanel::TitleBarHeight);
        const auto differing = [&fill](const QImage& image, const QRect& area) {
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x)
                    count += image.pixelColor(x, y) != fill;
            }
            return count;
        };

        QImage image = panel.grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("panel-title-hidden-") + suffix));
        EXPECT_EQ(differing(image, titleBand), 0) << "the title is hidden until asked";
        const QRect close(panel.closeButton()->geometry());
        EXPECT_GT(differing(image, close), 4) << "the close button is drawn over the content";
        EXPECT_EQ(panel.closeButton()->accessibleName(), QStringLiteral("Close"));
        EXPECT_EQ(panel.minimizeButton()->accessibleName(), QStringLiteral("Minimize"));

        panel.setRendersTitle(true);
        image = panel.grab().toImage();
        ASSERT_TRUE(pt::test::writeScreenshot(image, QStringLiteral("panel-title-shown-") + suffix));
        EXPECT_GT(differing(image, titleBand), 20) << "the title is drawn in the title bar";
        EXPECT_EQ(differing(image, QRect(0, PTPanel::TitleBarHeight + 2, 320, 20)), 0) << "and nowhere below it";

        panel.setLooksModal(true);
        panel.setRendersTitle(false);
        image = panel.grab().toImage();
        EXPECT_EQ(differing(image, QRect(0, 0, 320, PTPanel::TitleBarHeight)), 0) << "a modal-looking panel has no buttons";
        panel.setLooksModal(false);
        EXPECT_TRUE(panel.closeButton()->isVisible());
        panel.closeButton()->click();
        EXPECT_FALSE(panel.isVisible());
    }
}

TEST(SheetWindowTest, SeparatorColoursAndCopies)
{
    ThemeScope theme(PTAppearanceAqua);
    PTPanelSeparator separator;
    separator.resize(120, 1);
    separator.setIsTitleBar(true);
    // The title-bar colour belongs to the dark theme only.
    EXPECT_EQ(separator.lineColor(), QColor::fromRgbF(0x88 / 255.0f, 0x88 / 255.0f, 0x88 / 255.0f, 0.2f));
    separator.setSoften(true);
    std::unique_ptr<QWidget> copy(separator.copyView());
    auto* copied = static_cast<PTPanelSeparator*>(copy.get());
    EXPECT_EQ(copied->size(), QSize(120, 1));
    EXPECT_TRUE(copied->isTitleBar());
    EXPECT_TRUE(copied->soften());
    EXPECT_FALSE(copied->isSheet());

    ThemeScope::set(PTAppearanceDark);
    EXPECT_EQ(separator.lineColor(), QColor(0x22, 0x22, 0x22));
}

TEST(SheetWindowTest, APopoverSitsBesideItsAnchorInsideTheScreen)
{
    const QRect screen(0, 0, 1000, 800);
    const QRect anchor(100, 100, 40, 20);
    const QSize size(200, 100);
    EXPECT_EQ(PTPopover::placement(anchor, size, Qt::BottomEdge, screen), QPoint(20, 120));
    EXPECT_EQ(PTPopover::placement(anchor, size, Qt::RightEdge, screen), QPoint(140, 60));
    EXPECT_EQ(PTPopover::placement(anchor, size, Qt::TopEdge, screen), QPoint(20, 0));
    EXPECT_EQ(PTPopover::placement(QRect(950, 100, 40, 20), size, Qt::BottomEdge, screen), QPoint(800, 120));
}

TEST(SheetWindowTest, APopoverReportsShowingAndClosing)
{
    QWidget owner;
    owner.show();
    PTPopover popover;
    popover.setContentWidget(new PTTitleLabel(QStringLiteral("Grid size")));
    int shown = 0;
    int closed = 0;
    QObject::connect(&popover, &PTPopover::shown, [&] { ++shown; });
    QObject::connect(&popover, &PTPopover::closed, [&] { ++closed; });
    popover.showRelativeTo(QRect(0, 0, 10, 10), &owner, Qt::BottomEdge);
    popover.close();
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(closed, 1);
}

TEST(TitleBarTest, AnEmptySubtitleHidesItsLine)
{
    PTSheetViewTitleBarController controller;
    controller.view()->resize(300, 10);
    controller.setTitle(QStringLiteral("Export"));
    controller.setSubTitle(QStringLiteral("12 icons"));
    const int withSubtitle = controller.view()->height();
    controller.setSubTitle(QString());
    EXPECT_TRUE(controller.subtitleField()->isHidden());
    EXPECT_EQ(controller.view()->height(), 15 + controller.titleField()->height() + 15);
    EXPECT_LT(controller.view()->height(), withSubtitle);
}

TEST(TitleBarTest, TheActionButtonKeepsItsPlaceAsTheBandResizes)
{
    PTSheetViewTitleBarController controller;
    controller.setTitle(QStringLiteral("Import"));
    controller.setShowsActionButton(false); // nothing to remove
    EXPECT_EQ(controller.accessoryView(), nullptr);
    controller.setShowsActionButton(true);
    controller.view()->resize(300, controller.view()->height());
    controller.view()->relayout();
    QWidget* button = controller.accessoryView();
    ASSERT_TRUE(button);
    EXPECT_EQ(button->geometry().right(), 300 - 20 - 1);
    EXPECT_EQ(button->y(), (controller.view()->height() - 18) / 2);
    controller.view()->resize(500, controller.view()->height());
    controller.view()->relayout();
    EXPECT_EQ(button->geometry().right(), 500 - 20 - 1);

    // A click reaches the sheet through the controller, whatever kind of button the accessory is.
    int triggered = 0;
    QObject::connect(&controller, &PTSheetViewTitleBarController::actionTriggered, [&triggered] { ++triggered; });
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
    EXPECT_EQ(triggered, 1);
}

TEST(TitleBarTest, ContentUnderAWindowTitleBarStartsBelowIt)
{
    EXPECT_EQ(PTSheetViewTitleBarController::topInsetForTitleBarOverlap(28), 33);
    // Nothing covers the content (a floating sheet is a decorated window): the band keeps its own inset.
    EXPECT_EQ(PTSheetViewTitleBarController::topInsetForTitleBarOverlap(0), 15);
}

TEST(TabStripTest, EqualTabsAndClicks)
{
    PTSheetTabView tabs;
    tabs.resize(100, 30);
    for (const char* title : {"PNG", "SVG", "PDF"})
        tabs.addTabWithTitle(QString::fromLatin1(title));
    EXPECT_EQ(tabs.rectOfTabAtIndex(1), QRect(34, 0, 34, 30));
    std::vector<int> selections;
    QObject::connect(&tabs, &PTSheetTabView::didSelectIndex, [&](int index) { selections.push_back(index); });

    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(70, 10));
    EXPECT_EQ(tabs.selectedIndex(), 2);
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(70, 10));
    tabs.setSelectedIndex(5); // past the end: no tab
    EXPECT_EQ(tabs.selectedIndex(), -1);
    EXPECT_EQ(selections, (std::vector<int>{2, -1}));
}

TEST(TabStripTest, AHookCanHoldTheSelection)
{
    PTSheetTabView tabs;
    tabs.resize(90, 30);
    tabs.addTabWithTitle(QStringLiteral("One"));
    tabs.addTabWithTitle(QStringLiteral("Two"));
    tabs.setWillSelectIndex([](int) { return 0; });
    int changes = 0;
    QObject::connect(&tabs, &PTSheetTabView::didSelectIndex, [&] { ++changes; });
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(60, 10));
    QTest::mouseClick(&tabs, Qt::LeftButton, {}, QPoint(80, 10));
    EXPECT_EQ(tabs.selectedIndex(), 0);
    EXPECT_EQ(changes, 1);
}

} // namespace
