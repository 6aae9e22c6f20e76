#include "platform/ui/SheetHost.h"

#include "TestSupport.h"

#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(SheetHostTest, SheetSitsUnderTheTopEdgeAndFollowsItsParent)
{
    QWidget window;
    window.setGeometry(100, 80, 400, 300);
    window.show();
    auto* sheet = new QWidget;
    sheet->resize(200, 100);
    int completions = 0;
    int lastCode = -1;
    pt::SheetHost::begin(&window, sheet, [&](int code) {
        ++completions;
        lastCode = code;
    });

    EXPECT_EQ(pt::SheetHost::attachedSheet(&window), sheet);
    EXPECT_EQ(pt::SheetHost::parentOfSheet(sheet), &window);
    EXPECT_TRUE(sheet->isWindow());
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    EXPECT_EQ(sheet->geometry().topLeft(), QPoint(200, 80));

    window.setGeometry(300, 150, 600, 300);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return sheet->geometry().topLeft() == QPoint(500, 150); }));

    pt::SheetHost::end(sheet, 5);
    pt::SheetHost::end(sheet, 6);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(lastCode, 5);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_EQ(pt::SheetHost::attachedSheet(&window), nullptr);
}

TEST(SheetHostTest, ASheetCanCarryASheetAndADestroyedSheetDetaches)
{
    QWidget window;
    window.show();
    auto* first = new QWidget;
    auto* second = new QWidget;
    pt::SheetHost::begin(&window, first);
    pt::SheetHost::begin(first, second);
    EXPECT_EQ(pt::SheetHost::attachedSheet(&window), first);
    EXPECT_EQ(pt::SheetHost::attachedSheet(first), second);

    delete second;
    EXPECT_EQ(pt::SheetHost::attachedSheet(first), nullptr);
    pt::SheetHost::end(first, 0);
}

} // namespace
