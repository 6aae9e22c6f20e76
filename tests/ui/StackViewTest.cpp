#include "ui/views/PTStackView.h"
#include "ui/views/PTStackViewSeperatorView.h"

#include "TestSupport.h"

#include <QDialog>

#include <gtest/gtest.h>

namespace {

QWidget* row(int height)
{
    auto* view = new QWidget;
    view->resize(50, height);
    return view;
}

class StackViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        stack.resize(100, 10);
        stack.setSpacing(5);
        stack.setContentInsets(QMarginsF(0, 10, 0, 10));
        stack.setSpacerView(new PTStackViewSeperatorView);
        stack.setViews({top, middle, bottom});
    }
    int separators() const { return static_cast<int>(stack.findChildren<PTStackViewSeperatorView*>().size()) - 1; }

    PTStackView stack;
    QWidget* top = row(20);
    QWidget* middle = row(30);
    QWidget* bottom = row(40);
};

TEST_F(StackViewTest, HidingAViewClosesItsGapAndShowingItRestoresIt)
{
    EXPECT_EQ(bottom->geometry(), QRect(0, 70, 100, 40));
    EXPECT_EQ(stack.height(), 120);
    EXPECT_EQ(separators(), 2);

    middle->hide();
    EXPECT_EQ(bottom->y(), 35);
    EXPECT_EQ(stack.height(), 85);
    EXPECT_EQ(separators(), 1);

    middle->show();
    EXPECT_EQ(middle->y(), 35);
    EXPECT_EQ(bottom->y(), 70);
    EXPECT_EQ(separators(), 2);
}

TEST_F(StackViewTest, AnUnchangedStackSetsNoGeometry)
{
    const int sets = stack.geometrySetCount();
    stack.relayout();
    stack.relayoutAndPropagateFrameChange();
    EXPECT_EQ(stack.geometrySetCount(), sets);
    EXPECT_GT(stack.layoutPassCount(), 2);
}

TEST_F(StackViewTest, ANewOrderIsLaidOutAtOnce)
{
    stack.moveView(bottom, 0);
    EXPECT_EQ(bottom->y(), 10);
    EXPECT_EQ(top->y(), 55);
}

TEST_F(StackViewTest, ResizingAnArrangedViewMovesTheRowsBelow)
{
    stack.show();
    top->resize(50, 25);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return middle->y() == 40; }));
    EXPECT_EQ(stack.height(), 125);
}

TEST_F(StackViewTest, SeparatorCopiesGoWithTheirPrototypeAndAStrayAlignmentIsRefused)
{
    stack.setSpacerView(nullptr);
    EXPECT_TRUE(stack.findChildren<PTStackViewSeperatorView*>().isEmpty());
    stack.setAlignment(PTStackLayout::Right);
    stack.setAlignment(7);
    EXPECT_EQ(stack.alignment(), PTStackLayout::Right);
    EXPECT_EQ(top->geometry(), QRect(0, 10, 100, 20));
}

TEST_F(StackViewTest, ARemovedOrDeletedViewLeavesTheStack)
{
    stack.setCustomSpacing(12, top);
    stack.removeView(top);
    EXPECT_EQ(top->parentWidget(), nullptr);
    EXPECT_FALSE(stack.spacingForView(top));
    EXPECT_EQ(middle->y(), 10);
    delete top;

    delete middle;
    EXPECT_EQ(stack.views().size(), 1u);
    EXPECT_EQ(bottom->y(), 10);
}

TEST(StackViewNestingTest, NestedStacksGrowTheirDialogAndKeepItsTop)
{
    QDialog dialog;
    auto* outer = new PTStackView(&dialog);
    outer->resize(200, 10);
    outer->setAutoresizesWindow(true);
    auto* inner = new PTStackView;
    auto* extra = row(40);
    extra->hide();
    inner->setViews({row(20), extra});
    outer->setViews({row(30), inner});
    EXPECT_EQ(dialog.size(), QSize(200, 51));
    dialog.move(100, 100);
    dialog.show();
    const int top = dialog.geometry().top();

    extra->show();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return dialog.height() == 92; }));
    EXPECT_EQ(dialog.geometry().top(), top);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(inner->width(), 200);
    EXPECT_EQ(extra->width(), 200);
}

} // namespace
