#include "AppTestLibrary.h"
#include "TestSupport.h"

#include "app/PTToolbarController.h"
#include "app/PTWindowTitleBar.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"
#include "browser/views/PTToolbarFilterControl.h"
#include "ui/colour/PTToolbarColorWellControl.h"
#include "ui/controls/PTToolbarSegmentedControl.h"

#include <QAction>
#include <QMenu>
#include <QSlider>

#include <gtest/gtest.h>

namespace {

class ToolbarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pt::Defaults& defaults = pt::Defaults::standard();
        defaults.set(PTToolbarController::GridSizeKey, 32);
        defaults.remove(PTToolbarController::TypeSelectionKey);
        toolbar = std::make_unique<PTToolbarController>(&bar);
        for (const QString& name :
             {PTToolbarController::SizeSliderDidStartNotification, PTToolbarController::SizeSliderDidEndNotification,
              PTToolbarController::FilterDidChangeNotification, PTToolbarController::ColorDidChangeNotification}) {
            tokens.push_back(pt::NotificationCenter::defaultCenter().addObserver(
                name, nullptr, [this](const pt::Notification& n) { posted << n.name; }));
        }
        writes = 0;
        QObject::connect(&pt::Defaults::standard(), &pt::Defaults::changed, toolbar.get(), [this](const QString& key) {
            if (key == PTToolbarController::GridSizeKey || key == PTToolbarController::TypeSelectionKey)
                ++writes;
        });
    }
    QStringList checkedSizes() const
    {
        QStringList checked;
        for (QAction* item : toolbar->sizeMenu()->actions()) {
            if (item->isChecked())
                checked << item->text();
        }
        return checked;
    }

    PTWindowTitleBar bar;
    std::unique_ptr<PTToolbarController> toolbar;
    std::vector<pt::ObserverToken> tokens;
    QStringList posted;
    int writes = 0;
};

TEST_F(ToolbarTest, TheSizeControlShowsTheStoredSize)
{
    struct Case {
        int size;
        QStringList checked;
    };
    // 100 (a slider value) is not in the menu: no item is checked, the label and slider still follow.
    const Case cases[] = {{32, {QStringLiteral("32px")}}, {100, {}}, {256, {QStringLiteral("256px")}}};
    for (const Case& c : cases) {
        pt::Defaults::standard().set(PTToolbarController::GridSizeKey, c.size);
        EXPECT_EQ(toolbar->gridViewOptions()->label(0), QString::number(c.size));
        EXPECT_EQ(toolbar->gridViewOptions()->sublabel(0), QStringLiteral("px"));
        EXPECT_EQ(checkedSizes(), c.checked) << c.size;
        EXPECT_EQ(toolbar->gridViewSlider()->value(), c.size);
    }
    // The controller's own write is not heard back as an outside change: one write per choice.
    writes = 0;
    toolbar->sizeMenu()->actions().at(5)->trigger();
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTToolbarController::GridSizeKey), 48);
}

TEST_F(ToolbarTest, ASliderDragAnnouncesOneStartAndOneEnd)
{
    QSlider* slider = toolbar->gridViewSlider();
    slider->setSliderDown(true);
    for (int value : {40, 50, 61})
        slider->setValue(value);
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTToolbarController::GridSizeKey), 61)
        << "the stored size follows the drag";
    EXPECT_EQ(toolbar->gridViewOptions()->label(0), QStringLiteral("32")) << "the label waits for the release";
    slider->setSliderDown(false);
    EXPECT_EQ(posted, (QStringList{PTToolbarController::SizeSliderDidStartNotification,
                                   PTToolbarController::SizeSliderDidEndNotification}));
    EXPECT_EQ(toolbar->gridViewOptions()->label(0), QStringLiteral("61"));
}

TEST_F(ToolbarTest, FilterChangesSettleIntoOneNotification)
{
    // The filter control's own changes come this way too.
    toolbar->filterControl()->changeTypeFilter(toolbar->filterControl()->typeMenu()->actions().last());
    for (int i = 0; i < 3; ++i) {
        toolbar->filterDidChange();
        pt::test::runMainQueueFor(50);
    }
    EXPECT_TRUE(posted.isEmpty());
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return !posted.isEmpty(); }, 1000));
    pt::test::runMainQueueFor(300);
    EXPECT_EQ(posted, QStringList{PTToolbarController::FilterDidChangeNotification});
}

TEST_F(ToolbarTest, TheTypeSwitchWritesOnceAndFollowsOutsideWrites)
{
    writes = 0;
    toolbar->typeSwitch()->performClick(2);
    toolbar->typeSwitch()->performClick(2);
    EXPECT_EQ(writes, 1);
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTToolbarController::TypeSelectionKey), 3);

    // The filter menu picks "PNG" (6); choosing "All" on the switch must still be written.
    pt::Defaults::standard().set(PTToolbarController::TypeSelectionKey, 6);
    EXPECT_EQ(toolbar->typeSwitch()->selectedSegment(), -1);
    toolbar->typeSwitch()->performClick(2);
    EXPECT_EQ(pt::Defaults::standard().integerForKey(PTToolbarController::TypeSelectionKey), 3);
}

// The switch and the filter menu are two faces of one stored choice: either moves the other at once, and the grid
// hears of each choice once.
TEST_F(ToolbarTest, TheTypeSwitchAndTheFilterMenuShowOneChoice)
{
    PTToolbarFilterControl* filter = toolbar->filterControl();
    const auto checkedType = [filter] {
        for (QAction* entry : filter->typeMenu()->actions())
            if (entry->isChecked())
                return entry->text().trimmed();
        return QString();
    };
    const auto settled = [this] {
        pt::test::runMainQueueFor(PTToolbarController::FilterDelayMs + 100);
        return posted.count(PTToolbarController::FilterDidChangeNotification);
    };

    toolbar->typeSwitch()->performClick(2);
    EXPECT_EQ(filter->type(), 3);
    EXPECT_EQ(checkedType(), QStringLiteral("PDF"));
    EXPECT_EQ(filter->selectedSegment(), 0) << "a type filter is active";
    EXPECT_EQ(settled(), 1);

    posted.clear();
    for (QAction* entry : filter->typeMenu()->actions())
        if (entry->text().trimmed() == QStringLiteral("Font"))
            entry->trigger();
    EXPECT_EQ(toolbar->typeSwitch()->selectedSegment(), 3);
    EXPECT_EQ(settled(), 1);

    posted.clear();
    toolbar->typeSwitch()->performClick(0);
    EXPECT_EQ(checkedType(), QStringLiteral("All"));
    EXPECT_EQ(filter->selectedSegment(), -1);
    EXPECT_EQ(settled(), 1);
}

TEST_F(ToolbarTest, TheColourWellAnnouncesItsColour)
{
    QColor announced;
    pt::ObserverToken token = pt::NotificationCenter::defaultCenter().addObserver(
        PTToolbarController::ColorDidChangeNotification, nullptr,
        [&](const pt::Notification& n) { announced = n.userInfo.value(QStringLiteral("color")).value<QColor>(); });
    toolbar->colorWellControl()->setColor(QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(announced, QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(toolbar->iconColor(), QColor(0x12, 0x34, 0x56));
}

TEST_F(ToolbarTest, EveryControlHasAName)
{
    for (QWidget* control : bar.findChildren<QWidget*>()) {
        if (control->isWindow() || control->parentWidget() != &bar)
            continue;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
    }
}

} // namespace
