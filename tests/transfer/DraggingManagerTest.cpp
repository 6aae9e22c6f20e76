#include "TestSupport.h"
#include "platform/runtime/Defaults.h"
#include "transfer/pasteboard/PTDraggingManager.h"
#include "ui/PTPreferenceKeys.h"

#include <QCursor>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class DraggingManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.resize(200, 100);
        window.show();
    }
    void TearDown() override
    {
        manager.end();
        pt::Defaults::standard().remove(PTPreferenceKeys::HideWindowOnDrag);
    }
    void setHideOnDrag(bool on) { pt::Defaults::standard().set(PTPreferenceKeys::HideWindowOnDrag, on); }
    // A drag from (100, 100) through the offsets; answers after which offset the window was hidden (-1: never).
    int drag(const QList<QPointF>& offsets, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        manager.begin(QPointF(100, 100));
        int hiddenAt = -1;
        for (int i = 0; i < offsets.size(); ++i) {
            manager.move(QPointF(100, 100) + offsets[i], source, modifiers);
            if (hiddenAt < 0 && window.isHidden())
                hiddenAt = i;
            window.show(); // a later hide would show as a second one
        }
        manager.end();
        return hiddenAt;
    }

    PTDraggingManager& manager = PTDraggingManager::sharedManager();
    QWidget window;
    QWidget* source = new QWidget(&window);
};

} // namespace

TEST(DraggingTolerance, StrictlyBeyondOnEitherAxis)
{
    struct Case {
        QPointF point;
        bool beyond;
    };
    const Case cases[] = {
        {{15, 0}, false},  {{15.01, 0}, true},  {{-15.01, 0}, true}, {{0, 15}, false},
        {{0, -15.01}, true}, {{15, 15}, false}, {{14, -16}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PTDraggingManager::isBeyondTolerance({0, 0}, c.point, 15), c.beyond) << c.point.x() << "," << c.point.y();
}

TEST_F(DraggingManagerTest, HidesTheSourceWindowOncePerDragWhenAsked)
{
    const QList<QPointF> path{{5, 5}, {15, -15}, {15.01, 0}, {40, 40}, {80, 0}};
    setHideOnDrag(false);
    EXPECT_EQ(drag(path), -1);
    EXPECT_EQ(drag(path, Qt::AltModifier), -1);
    EXPECT_EQ(drag(path, Qt::ControlModifier), 2);
    setHideOnDrag(true);
    EXPECT_EQ(drag(path), 2);

    // Once handled, the drag's later moves leave the window alone.
    manager.begin(QPointF(100, 100));
    manager.move(QPointF(200, 100), source, Qt::NoModifier);
    EXPECT_TRUE(window.isHidden());
    window.show();
    manager.move(QPointF(300, 100), source, Qt::NoModifier);
    EXPECT_FALSE(window.isHidden());
    manager.end();
}

TEST_F(DraggingManagerTest, FullScreenWindowsStay)
{
    setHideOnDrag(true);
    window.showFullScreen();
    manager.begin(QPointF(100, 100));
    manager.move(QPointF(400, 400), source, Qt::ControlModifier);
    EXPECT_FALSE(window.isHidden());
    EXPECT_FALSE(manager.isHandled());
}

// The window a drag hid comes back with the keys when the drag ends, however it ended (dropped, refused or
// cancelled: the drag's end is the same call); a window the drag did not hide is left as it is.
TEST_F(DraggingManagerTest, TheHiddenWindowComesBackWhenTheDragEnds)
{
    for (const bool preference : {true, false}) {
        SCOPED_TRACE(preference ? "hidden by the preference" : "hidden with Ctrl held");
        setHideOnDrag(preference);
        window.show();
        window.activateWindow();
        manager.begin(QPointF(100, 100));
        manager.move(QPointF(200, 100), source, preference ? Qt::NoModifier : Qt::ControlModifier);
        ASSERT_TRUE(window.isHidden());
        manager.end();
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    setHideOnDrag(false);
    manager.begin(QPointF(100, 100));
    manager.move(QPointF(200, 100), source, Qt::NoModifier);
    window.hide();
    manager.end();
    EXPECT_TRUE(window.isHidden()) << "the end of a drag showed a window the drag never hid";
}

// While a drag runs its own loop, the pointer is read on a timer; the end stops it.
TEST_F(DraggingManagerTest, FollowsThePointerUntilTheEnd)
{
    setHideOnDrag(true);
    QCursor::setPos(100, 100);
    manager.begin(QPointF(100, 100));
    manager.followPointer(source);
    pt::test::runMainQueueFor(50);
    EXPECT_FALSE(window.isHidden());
    QCursor::setPos(100, 130);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return window.isHidden(); }, 1000));
    manager.end();

    window.show();
    QCursor::setPos(100, 100);
    manager.begin(QPointF(100, 100));
    manager.followPointer(source);
    manager.end();
    QCursor::setPos(300, 300);
    pt::test::runMainQueueFor(50);
    EXPECT_FALSE(window.isHidden());
}
