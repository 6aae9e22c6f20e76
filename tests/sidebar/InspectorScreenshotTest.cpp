#include "InspectorTestSupport.h"
#include "TestSupport.h"

#include "../ui/ThemeScope.h"
#include "sidebar/inspector/PTIconSideBarController.h"
#include "sidebar/inspector/PTSetSideBarController.h"
#include "sidebar/inspector/PTSideBarController.h"
#include "sidebar/inspector/PTSideBarTabControl.h"
#include "ui/theme/PTStyles.h"

#include <QLabel>

namespace {

bool near(const QColor& a, const QColor& b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

bool areaHas(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 10)
{
    for (int y = std::max(0, area.top()); y <= std::min(image.height() - 1, area.bottom()); ++y)
        for (int x = std::max(0, area.left()); x <= std::min(image.width() - 1, area.right()); ++x)
            if (near(image.pixelColor(x, y), colour, tolerance))
                return true;
    return false;
}

class InspectorScreenshotTest : public InspectorTest {
protected:
    void SetUp() override
    {
        InspectorTest::SetUp();
        frame = std::make_unique<PTSideBarController>();
        frame->containerView()->resize(260, 640);
        frame->containerView()->show();
    }
    void TearDown() override
    {
        frame.reset();
        InspectorTest::TearDown();
    }
    // Writes the column in both themes and checks what every picture must show.
    void capture(const QString& name, const std::function<void(const QImage&, bool dark)>& check)
    {
        for (const int appearance : {PTAppearanceAqua, PTAppearanceDark}) {
            const bool dark = appearance == PTAppearanceDark;
            SCOPED_TRACE(dark ? "dark" : "light");
            ThemeScope theme(appearance);
            pt::test::runMainQueueFor(30);
            const QImage image = frame->containerView()->grab().toImage();
            ASSERT_TRUE(pt::test::writeScreenshot(image, name + (dark ? "-dark" : "-light")));
            PTSideBarTabControl* tabs = frame->tabControl();
            const QRect selected = tabs->rectForControllerAtIndex(tabs->selectedIndex());
            const QRect other = tabs->rectForControllerAtIndex(1 - tabs->selectedIndex());
            EXPECT_TRUE(areaHas(image, selected, PTStyles::defaultBlue(), 30)) << "the selected tab's label is blue";
            EXPECT_FALSE(areaHas(image, other, PTStyles::defaultBlue(), 30));
            // The line under the tabs.
            const QColor line = dark ? QColor(0x19, 0x19, 0x19) : QColor(0xD8, 0xDC, 0xDF);
            EXPECT_TRUE(near(image.pixelColor(130, tabs->height()), line, 8)) << image.pixelColor(130, tabs->height()).name().toStdString();
            check(image, dark);
        }
    }

    std::unique_ptr<PTSideBarController> frame;
};

TEST_F(InspectorScreenshotTest, OneItemThreeItemsAndASet)
{
    PTCollection* set = makeSet("Actions");
    PTItem* one = makeItem(set, "Go Next", "go-next.svg");
    PTItem* two = makeItem(set, "Go Previous", "go-previous.svg", pt::test::themeIcon("go-previous"));
    PTItem* three = makeItem(set, "Go Up", "go-up.svg", pt::test::themeIcon("go-up"));
    auto* icons = qobject_cast<PTIconSideBarController*>(frame->viewControllers().at(1));

    frame->setItems({one}, false);
    capture("inspector-one-item", [&](const QImage&, bool) {
        EXPECT_FALSE(icons->numberItemsSelectedView()->isVisible());
    });

    frame->setItems({one, two, three}, false);
    capture("inspector-three-items", [&](const QImage& image, bool dark) {
        QLabel* count = icons->selectedControl();
        ASSERT_TRUE(count->isVisible());
        EXPECT_EQ(count->text(), "3 Items");
        const QRect row(count->mapTo(frame->containerView(), QPoint(0, 0)), count->size());
        EXPECT_TRUE(QRect(QPoint(0, 0), image.size()).contains(row)) << "the row is within the column";
        EXPECT_TRUE(areaHas(image, row, dark ? QColor(Qt::white) : QColor(Qt::black), 90)) << "its text is drawn";
    });

    frame->setItems({}, true);
    frame->setCollections({set}, {set});
    auto* sets = qobject_cast<PTSetSideBarController*>(frame->viewControllers().at(0));
    EXPECT_EQ(frame->currentControllerIndex(), 0);
    capture("inspector-set", [&](const QImage& image, bool) {
        QLabel* icons = sets->iconsField();
        EXPECT_EQ(icons->text(), "3 Icons");
        const QRect row(icons->mapTo(frame->containerView(), QPoint(0, 0)), icons->size());
        EXPECT_TRUE(QRect(QPoint(0, 0), image.size()).contains(row));
    });
}

} // namespace
