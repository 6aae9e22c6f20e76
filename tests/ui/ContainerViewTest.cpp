#include "ui/views/PTAlignView.h"
#include "ui/views/PTPageControllerView.h"
#include "ui/views/PTScrollView.h"

#include "TestSupport.h"

#include "platform/ui/AnimationTiming.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

TEST(AlignViewTest, KeepsItsChildAtItsSizeAndAlignsIt)
{
    struct Case {
        int horizontal;
        int vertical;
        QPoint expected;
    };
    const Case cases[] = {
        {PTAlignView::Centre, PTAlignView::Centre, QPoint(40, 20)},
        {PTAlignView::Maximum, PTAlignView::Minimum, QPoint(80, 40)}, // right, bottom
        {PTAlignView::Minimum, PTAlignView::Maximum, QPoint(0, 0)},   // left, top
        {7, -1, QPoint(40, 20)},                                      // anything else centres
    };
    for (const Case& c : cases) {
        PTAlignView align;
        align.resize(100, 50);
        auto* child = new QWidget;
        child->resize(20, 10);
        align.setView(child);
        align.setHorizontalAlignment(c.horizontal);
        align.setVerticalAlignment(c.vertical);
        EXPECT_EQ(child->geometry(), QRect(c.expected, QSize(20, 10))) << c.horizontal << " " << c.vertical;
    }
}

TEST(AlignViewTest, FollowsItsChildsSize)
{
    PTAlignView align;
    align.resize(100, 50);
    auto* child = new QWidget;
    child->resize(20, 10);
    align.setView(child);
    align.show();
    child->resize(40, 30);
    EXPECT_EQ(child->pos(), QPoint(30, 10));
}

TEST(ScrollViewTest, TheVerticalBarRunsBetweenTheMargins)
{
    PTScrollView scroll;
    scroll.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll.resize(200, 300);
    scroll.show();
    scroll.setMargin(38, 1);
    scroll.setMargin(10, 0);
    EXPECT_EQ(scroll.marginForEdge(3), 38); // only edge 0 means the bottom
    EXPECT_EQ(scroll.marginForEdge(0), 10);
    scroll.resize(200, 400);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] {
        return scroll.verticalScrollBar()->parentWidget()->geometry().height() == 400 - 38 - 10;
    }));
    EXPECT_EQ(scroll.verticalScrollBar()->parentWidget()->y(), 38);
}

class PageControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pages.resize(200, 100);
        pages.setPages({new QWidget, new QWidget, new QWidget});
        QObject::connect(&pages, &PTPageControllerView::willTransition,
                         [this](QWidget*, QWidget*, PTPageControllerView::Direction d) { directions.push_back(d); });
    }
    void TearDown() override { pt::AnimationTiming::setScale(0); }

    PTPageControllerView pages;
    std::vector<PTPageControllerView::Direction> directions;
};

TEST_F(PageControllerTest, LaterPagesComeFromTheRightEarlierOnesFromTheLeft)
{
    using D = PTPageControllerView::Direction;
    pages.setSelectedIndex(2);
    pages.setSelectedIndex(0);
    pages.setSelectedIndex(9); // no such page
    EXPECT_EQ(directions, (std::vector<D>{D::FromRight, D::FromLeft}));
    EXPECT_EQ(pages.currentPage(), pages.pages()[0]);
    EXPECT_TRUE(pages.pages()[2]->isHidden());
    EXPECT_EQ(pages.currentPage()->geometry(), pages.rect());
}

TEST_F(PageControllerTest, NavigationStopsAtTheEndsAndWaitsForASlide)
{
    pages.navigateBack();
    EXPECT_EQ(pages.selectedIndex(), 0);
    pages.setSelectedIndex(2);
    pages.navigateForward();
    EXPECT_EQ(pages.selectedIndex(), 2);

    pt::AnimationTiming::setScale(1);
    pages.navigateBack();
    EXPECT_TRUE(pages.isAnimating());
    pages.navigateBack();
    EXPECT_EQ(pages.selectedIndex(), 1);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !pages.isAnimating(); }, 3000));
    EXPECT_TRUE(pages.pages()[2]->isHidden());
    EXPECT_EQ(pages.currentPage()->pos(), QPoint(0, 0));
}

} // namespace
