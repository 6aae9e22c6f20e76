#include "ScenarioTest.h"

#include "app/PTAppController.h"
#include "app/PTToolbarController.h"
#include "browser/controller/PTGridViewOptionsController.h"
#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "platform/runtime/Defaults.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/views/PTPopover.h"

#include <QApplication>
#include <QTest>

namespace {

constexpr int StoredSize = 96;

// A relaunch with an icon size stored by an earlier run.
class GridSizeScenario : public ScenarioTest {
protected:
    void beforeLaunch() override
    {
        pt::Defaults::standard().set(PTGridViewOptionsController::GridViewSizeKey, double(StoredSize));
    }
};

// The grid options shown in a popover, if any.
PTGridViewOptionsController* shownGridOptions()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* popover = qobject_cast<PTPopover*>(window);
        if (popover && popover->isVisible())
            if (auto* options = qobject_cast<PTGridViewOptionsController*>(popover->contentWidget()))
                return options;
    }
    return nullptr;
}

// The first icons the grid paints after a relaunch are drawn at the stored size, which the toolbar shows; a click
// on the toolbar's size control opens the grid options.
TEST_F(GridSizeScenario, TheStoredSizeIsDrawnFromTheFirstPaintAndTheSizeControlOpensTheOptions)
{
    ASSERT_TRUE(startedHere()) << "needs a process of its own";
    // The cells the window lays out first, before anything else could change the size.
    EXPECT_EQ(grid()->itemSize(),
              PTGridViewImageCell::sizeFromProposedSize(QSizeF(StoredSize, StoredSize), grid()->drawingState()));
    importFolder(QStringLiteral("shapes"), QStringLiteral("Shapes"));
    QVector<PTGridViewImageCell*> cells;
    ASSERT_TRUE(waitFor([&] {
        cells.clear();
        for (PTGridViewCell* cell : grid()->visibleCells())
            if (auto* image = dynamic_cast<PTGridViewImageCell*>(cell); image && !image->image().isNull())
                cells << image;
        return cells.size() == gridItemNames().size();
    })) << "icons drawn: " << cells.size();
    for (PTGridViewImageCell* cell : cells) {
        SCOPED_TRACE(cell->title().toStdString());
        EXPECT_EQ(cell->drawingRect().size(), QSizeF(StoredSize, StoredSize));
        const QSizeF image = cell->image().deviceIndependentSize();
        EXPECT_EQ(qMax(image.width(), image.height()), StoredSize);
    }
    PTToolbarSegmentedControl* control = app().toolbarController()->gridViewOptions();
    EXPECT_EQ(control->label(0), QString::number(StoredSize));

    ASSERT_EQ(shownGridOptions(), nullptr);
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
    ASSERT_TRUE(waitFor([] { return shownGridOptions() != nullptr; })) << "no grid options";
    shownGridOptions()->window()->close();
}

} // namespace
