#include "ui/views/PTAppearanceWindow.h"
#include "ui/views/PTPanel.h"
#include "ui/controls/PTTitleLabel.h"
#include "ui/sheets/PTSheetTabView.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarController.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTPopover.h"
#include "ui/views/PTSheet.h"

#include "ThemeScope.h"

#include <QTest>

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

TEST(SheetWindowTest, APanelCanLookModalAndHideItsTitle)
{
    PTPanel panel;
    panel.setWindowTitle(QStringLiteral("About"));
    panel.setLooksModal(true);
    EXPECT_FALSE(panel.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    panel.setLooksModal(false);
    EXPECT_TRUE(panel.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    panel.setRendersTitle(false);
    EXPECT_TRUE(panel.windowTitle().isEmpty());
    panel.setRendersTitle(true);
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("About"));
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
