#include "ScenarioTest.h"

#include "app/PTAppController.h"
#include "app/PTSplashOnboardingController.h"
#include "app/PTSplitViewController.h"
#include "platform/runtime/Defaults.h"

#include <QAction>
#include <QSplitter>

namespace {

using ColumnsScenario = ScenarioTest;

// The View menu hides and shows the inspector and the sets, its items saying what they will do; Ctrl+I does the
// inspector's. Each time the grid column takes or gives the room.
TEST_F(ColumnsScenario, TheViewMenuAndCtrlIHideAndShowTheSideColumns)
{
    QSplitter* columns = app().splitViewController()->view();
    const auto gridWidth = [columns] { return columns->sizes().at(PTSplitViewController::GridColumn); };
    const auto view = [this](const QString& title) { return menuItem(QStringLiteral("View"), title) != nullptr; };
    ASSERT_TRUE(sourceList()->isVisible());
    ASSERT_TRUE(inspector()->isVisible());
    EXPECT_TRUE(view(QStringLiteral("Hide Sets")));
    EXPECT_TRUE(view(QStringLiteral("Hide Inspector")));
    EXPECT_EQ(menuItem(QStringLiteral("View"), QStringLiteral("Hide Inspector"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+I")));
    const int shownGrid = gridWidth();
    const int inspectorWidth = inspector()->width();
    const int setsWidth = sourceList()->width();

    choose(QStringLiteral("View"), QStringLiteral("Hide Inspector"));
    EXPECT_FALSE(inspector()->isVisible());
    EXPECT_EQ(gridWidth(), shownGrid + inspectorWidth + columns->handleWidth());
    EXPECT_TRUE(view(QStringLiteral("Show Inspector")));
    press(QKeySequence(QStringLiteral("Ctrl+I")));
    EXPECT_TRUE(inspector()->isVisible());
    EXPECT_EQ(inspector()->width(), inspectorWidth);
    EXPECT_TRUE(view(QStringLiteral("Hide Inspector")));
    press(QKeySequence(QStringLiteral("Ctrl+I")));
    EXPECT_FALSE(inspector()->isVisible());

    choose(QStringLiteral("View"), QStringLiteral("Hide Sets"));
    EXPECT_FALSE(sourceList()->isVisible());
    EXPECT_EQ(gridWidth(), shownGrid + inspectorWidth + setsWidth + 2 * columns->handleWidth());
    EXPECT_TRUE(view(QStringLiteral("Show Sets")));
    choose(QStringLiteral("View"), QStringLiteral("Show Sets"));
    choose(QStringLiteral("View"), QStringLiteral("Show Inspector"));
    EXPECT_TRUE(sourceList()->isVisible());
    EXPECT_TRUE(inspector()->isVisible());
    EXPECT_EQ(columns->sizes(), (QList<int>{setsWidth, shownGrid, inspectorWidth}));
}

// A relaunch after both side columns were hidden: they stay hidden and the menu offers to show them, at the
// widths they had.
class HiddenColumnsScenario : public ScenarioTest {
protected:
    void beforeLaunch() override
    {
        pt::Defaults& defaults = pt::Defaults::standard();
        // Not the first launch, which opens the inspector.
        defaults.set(PTSplashOnboardingController::LaunchCountKey, 5);
        QVariantList columns;
        for (const auto& [width, hidden] : {std::pair{260, true}, std::pair{600, false}, std::pair{300, true}})
            columns.append(QVariantMap{{QStringLiteral("width"), width}, {QStringLiteral("hidden"), hidden}});
        defaults.set(PTSplitViewController::AutosaveKey, columns);
    }
};

TEST_F(HiddenColumnsScenario, HiddenColumnsStayHiddenAfterARelaunch)
{
    ASSERT_TRUE(startedHere()) << "needs a process of its own";
    EXPECT_FALSE(sourceList()->isVisible());
    EXPECT_FALSE(inspector()->isVisible());
    EXPECT_NE(menuItem(QStringLiteral("View"), QStringLiteral("Show Sets")), nullptr);
    EXPECT_NE(menuItem(QStringLiteral("View"), QStringLiteral("Show Inspector")), nullptr);

    choose(QStringLiteral("View"), QStringLiteral("Show Sets"));
    press(QKeySequence(QStringLiteral("Ctrl+I")));
    EXPECT_TRUE(sourceList()->isVisible());
    EXPECT_TRUE(inspector()->isVisible());
    EXPECT_EQ(sourceList()->width(), 260);
    EXPECT_EQ(inspector()->width(), 300);
}

} // namespace
