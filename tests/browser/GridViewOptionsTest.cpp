#include "TestSupport.h"

#include "browser/controller/PTGridViewOptionsController.h"
#include "platform/runtime/Defaults.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/theme/PTStyles.h"

#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Options = PTGridViewOptionsController;

class GridViewOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pt::Defaults::useStorageFile(dir.filePath("settings.ini"));
        Options::registerDefaults();
    }
    pt::Defaults& defaults() { return pt::Defaults::standard(); }

    QTemporaryDir dir;
};

TEST_F(GridViewOptionsTest, ClassStepsAreTwentyOrFiveWithShiftWithinLimits)
{
    const struct {
        double from;
        bool increase;
        Qt::KeyboardModifiers modifiers;
        double to;
    } cases[] = {
        {60, true, Qt::NoModifier, 80},     {60, true, Qt::ShiftModifier, 65},
        {60, false, Qt::NoModifier, 40},    {60, false, Qt::ShiftModifier | Qt::ControlModifier, 55},
        {250, true, Qt::NoModifier, 256},   {20, false, Qt::NoModifier, 16},
        {256, true, Qt::ShiftModifier, 256}, {300, false, Qt::NoModifier, 256},
    };
    for (const auto& c : cases) {
        Options::setDefaultSize(float(c.from));
        if (c.increase)
            Options::increaseSizeStatically(c.modifiers);
        else
            Options::decreaseSizeStatically(c.modifiers);
        EXPECT_EQ(Options::currentValue(), float(c.to)) << c.from << (c.increase ? " up" : " down");
    }
}

TEST_F(GridViewOptionsTest, TheViewFollowsAndWritesTheDefaults)
{
    Options::setDefaultSize(100);
    Options options;
    EXPECT_EQ(options.slider()->value(), 100);
    options.increaseSize(); // the view's step is always 5
    EXPECT_EQ(Options::currentValue(), 105.f);
    Options::setDefaultSize(254);
    EXPECT_EQ(options.slider()->value(), 254);
    options.increaseSize();
    EXPECT_EQ(Options::currentValue(), 256.f);
    options.slider()->setValue(40);
    EXPECT_EQ(Options::currentValue(), 40.f);

    EXPECT_TRUE(options.showGridControl()->isChecked());
    EXPECT_TRUE(options.showLabelsControl()->isChecked());
    defaults().set(Options::ShowLabelsKey, false);
    EXPECT_FALSE(options.showLabelsControl()->isChecked());
    QTest::mouseClick(options.showGridControl(), Qt::LeftButton);
    EXPECT_FALSE(defaults().boolForKey(Options::ShowGridKey));

    EXPECT_EQ(options.gridModeControl()->selectedSegment(), 0);
    options.setGridModeFromSender(1);
    EXPECT_TRUE(defaults().boolForKey(Options::DarkModeEnabledKey));
    EXPECT_EQ(options.gridModeControl()->selectedSegment(), 1);
    defaults().remove(Options::DarkModeEnabledKey); // the theme changed: the grid follows it again
    EXPECT_EQ(options.gridModeControl()->selectedSegment(), 0);
}

// The options in a popover under an anchor, then closed: the delegate hears of it and the options stay.
TEST_F(GridViewOptionsTest, PopoverShowsTheOptionsOnceAndGivesThemBack)
{
    Options::setDefaultSize(128);
    QWidget window;
    window.resize(300, 60);
    auto* anchor = new QWidget(&window);
    anchor->setGeometry(120, 10, 60, 24);
    window.show();
    Options options;
    int closed = 0;
    options.setDelegate([&] { ++closed; });
    options.showPopoverRelativeToView(anchor, Qt::BottomEdge);
    PTPopover* popover = options.popover();
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isVisible());
    options.showPopoverRelativeToView(anchor, Qt::BottomEdge);
    EXPECT_EQ(options.popover(), popover);

    const QImage shot = popover->grab().toImage();
    ASSERT_TRUE(pt::test::writeScreenshot(shot, QStringLiteral("grid-options-popover")));
    const qreal ratio = shot.devicePixelRatio();
    const auto at = [&](QPoint point) { return shot.pixelColor(int(point.x() * ratio), int(point.y() * ratio)); };
    // The panel colour between the rows, the slider and the switches laid out inside it.
    EXPECT_EQ(at(QPoint(popover->width() / 2, 6)), PTStyles::sidebarBackgroundColor());
    for (QWidget* control : {static_cast<QWidget*>(options.slider()), static_cast<QWidget*>(options.gridModeControl()),
                             static_cast<QWidget*>(options.showGridControl()),
                             static_cast<QWidget*>(options.showLabelsControl())}) {
        const QRect area(control->mapTo(popover, QPoint(0, 0)), control->size());
        EXPECT_TRUE(popover->rect().contains(area)) << control->accessibleName().toStdString();
        EXPECT_FALSE(control->accessibleName().isEmpty());
    }
    EXPECT_LT(options.slider()->mapTo(popover, QPoint(0, 0)).y(), options.showGridControl()->mapTo(popover, QPoint(0, 0)).y());

    popover->close();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(options.popover(), nullptr);
    EXPECT_EQ(options.parentWidget(), nullptr);
    QTest::qWait(1);
    EXPECT_EQ(options.slider()->value(), 128);
}

} // namespace
