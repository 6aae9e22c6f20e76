#include "ui/views/PTAlignView.h"
#include "ui/views/PTPageControllerDelegate.h"
#include "ui/views/PTScrollView.h"

#include "TestSupport.h"

#include "platform/ui/AnimationTiming.h"

#include <QScrollBar>
#include <QTest>

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

// Records what the page controller asks and tells, and answers with a chosen transition and timing.
class RecordingPageDelegate : public PTPageControllerDelegate {
public:
    std::optional<PTPageControllerView::Transition> customTransition(PTPageControllerView*, QWidget* oldPage,
                                                                     QWidget* newPage) override
    {
        calls.push_back(QStringLiteral("custom %1 %2").arg(name(oldPage), name(newPage)));
        return transition;
    }
    void willTransition(PTPageControllerView*, QWidget* from, QWidget* to) override
    {
        calls.push_back(QStringLiteral("will %1 %2").arg(name(from), name(to)));
    }
    void willStartTransition(PTPageControllerView* view, PTPageControllerView::TransitionContext& context) override
    {
        calls.push_back(QStringLiteral("start %1 %2").arg(context.duration).arg(view->isAnimating()));
        if (duration)
            context.duration = *duration;
        context.timingFunction = QEasingCurve::Linear;
    }
    void didTransition(PTPageControllerView*, QWidget* to, QWidget* from) override
    {
        calls.push_back(QStringLiteral("did %1 %2").arg(name(to), name(from)));
    }
    static QString name(QWidget* page) { return page ? page->objectName() : QStringLiteral("-"); }

    std::optional<PTPageControllerView::Transition> transition;
    std::optional<double> duration;
    QStringList calls;
};

class PageControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pages.resize(200, 100);
        pages.setDelegate(&delegate);
        std::vector<QWidget*> widgets;
        for (const char* name : {"a", "b", "c"}) {
            widgets.push_back(new QWidget);
            widgets.back()->setObjectName(QLatin1String(name));
        }
        pages.setPages(widgets);
        delegate.calls.clear();
    }
    void TearDown() override { pt::AnimationTiming::setScale(0); }
    QWidget* page(int index) { return pages.pages()[index]; }

    RecordingPageDelegate delegate;
    PTPageControllerView pages;
};

TEST_F(PageControllerTest, LaterPagesComeFromTheRightEarlierOnesFromTheLeft)
{
    using T = PTPageControllerView::Transition;
    std::vector<T> transitions;
    pages.setSelectedIndex(2);
    transitions.push_back(pages.transition());
    pages.setSelectedIndex(0);
    transitions.push_back(pages.transition());
    pages.setSelectedIndex(9); // no such page
    EXPECT_EQ(transitions, (std::vector<T>{{T::Type::Push, T::Subtype::FromRight}, {T::Type::Push, T::Subtype::FromLeft}}));
    EXPECT_EQ(pages.currentPage(), page(0));
    EXPECT_TRUE(page(2)->isHidden());
    EXPECT_EQ(pages.currentPage()->geometry(), pages.rect());
}

// The delegate is asked for a transition, told of the change, given the timing to adjust as it starts, and
// told when it is done, in that order; the first page comes without a slide and from no page.
TEST_F(PageControllerTest, TheDelegateHearsOfEachChangeInOrder)
{
    PTPageControllerView fresh;
    fresh.setDelegate(&delegate);
    auto* only = new QWidget;
    only->setObjectName(QStringLiteral("only"));
    fresh.setPages({only});
    pages.setSelectedIndex(1);
    EXPECT_EQ(delegate.calls, (QStringList{"custom only only", "will - only", "start 0 0", "did only -",
                                            "custom a b", "will a b", "start 0.8 0", "did b a"}));
    EXPECT_EQ(pages.transition(), (PTPageControllerView::Transition{}));
}

// A transition the delegate answers replaces the default: a page moving in from the top over the old one at
// the duration the delegate set, which then ends where the page belongs.
TEST_F(PageControllerTest, TheDelegatesTransitionAndTimingAreUsed)
{
    using T = PTPageControllerView::Transition;
    pt::AnimationTiming::setScale(1);
    pages.show();
    delegate.transition = T{T::Type::MoveIn, T::Subtype::FromTop};
    delegate.duration = 2.0;
    pages.setSelectedIndex(1);
    EXPECT_EQ(pages.transition(), (T{T::Type::MoveIn, T::Subtype::FromTop}));
    ASSERT_TRUE(pages.isAnimating());
    EXPECT_EQ(page(1)->pos(), QPoint(0, -100)) << "the new page starts a page above";
    EXPECT_EQ(page(0)->pos(), QPoint(0, 0)) << "the old page stays while the new one moves over it";
    EXPECT_TRUE(page(1)->geometry().intersects(pages.rect()) == false);
    QTest::qWait(300);
    ASSERT_TRUE(pages.isAnimating()) << "two seconds, not the default 0.8";
    const int y = page(1)->y();
    EXPECT_GT(y, -100);
    EXPECT_LT(y, 0);
    EXPECT_EQ(page(0)->pos(), QPoint(0, 0));

    // Another change ends this one first: its delegate hears it is done before the next begins.
    delegate.calls.clear();
    delegate.transition.reset();
    pages.setSelectedIndex(2);
    EXPECT_EQ(delegate.calls.mid(0, 2), (QStringList{"did b a", "custom b c"}));
    EXPECT_EQ(pages.transition(), (T{T::Type::Push, T::Subtype::FromRight}));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !pages.isAnimating(); }, 5000));
    EXPECT_EQ(delegate.calls.last(), QStringLiteral("did c b"));
    EXPECT_EQ(page(2)->geometry(), pages.rect());
    EXPECT_TRUE(page(1)->isHidden());
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
    EXPECT_TRUE(page(2)->isHidden());
    EXPECT_EQ(pages.currentPage()->pos(), QPoint(0, 0));
}

} // namespace
