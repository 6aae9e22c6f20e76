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
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QSlider>
#include <QTemporaryDir>
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

// The name of the first icon whose top shows below the sticky header; the grid has one section, so a grid index
// is a place in the names.
QString firstWholeIcon(PTGridView* grid, const QStringList& names)
{
    const QRectF visible = grid->visibleRect();
    const qreal top = visible.top() + grid->marginForEdge(1) + grid->sectionHeaderHeight();
    const GridRange range = grid->geometry().rangeOfItemsInRect(visible);
    for (qint64 index = range.location; index < range.end(); ++index) {
        const QRectF frame = grid->geometry().rectForItemAtIndex(index);
        if (frame.top() >= top)
            return names.value(int(index));
    }
    return {};
}

// Whether the icon shows whole between the sticky header and the bottom of the view.
bool showsWhole(PTGridView* grid, const QStringList& names, const QString& name)
{
    const QRectF visible = grid->visibleRect();
    const QRectF view = visible.adjusted(0, grid->marginForEdge(1) + grid->sectionHeaderHeight(), 0,
                                         -grid->marginForEdge(0));
    return view.contains(grid->geometry().rectForItemAtIndex(names.indexOf(name)));
}

// A long set scrolled to its middle: another icon size, from the keyboard (Ctrl+-, Ctrl++) or from the slider of
// the toolbar's size control, keeps the icons the user looked at in view, where the pixel offset once jumped to
// the last rows.
TEST_F(GridSizeScenario, AnotherSizeKeepsTheIconsLookedAtInView)
{
    QTemporaryDir folder;
    const QString many = QDir(folder.path()).filePath(QStringLiteral("many"));
    ASSERT_TRUE(QDir().mkpath(many));
    constexpr int Count = 900;
    for (int i = 0; i < Count; ++i) {
        QFile file(QDir(many).filePath(QStringLiteral("icon-%1.svg").arg(i, 4, 10, QLatin1Char('0'))));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 16 16"><rect width="16" height="16"/></svg>)");
    }
    importFolder(many, QStringLiteral("Many"));
    ASSERT_TRUE(waitFor([&] { return gridItemNames().size() == Count; }, 60000))
        << "icons in the grid: " << gridItemNames().size();
    const QStringList names = gridItemNames();
    QScrollBar* bar = grid()->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    QApplication::processEvents();

    const auto expectKeptInView = [&](const char* how, const std::function<void()>& change) {
        SCOPED_TRACE(how);
        const QString looked = firstWholeIcon(grid(), names);
        ASSERT_FALSE(looked.isEmpty());
        const QSizeF before = grid()->itemSize();
        change();
        ASSERT_TRUE(waitFor([&] { return grid()->itemSize() != before; })) << "the size did not change";
        QApplication::processEvents();
        EXPECT_TRUE(showsWhole(grid(), names, looked))
            << looked.toStdString() << " is out of view at scroll offset " << bar->value() << " of " << bar->maximum();
    };
    expectKeptInView("Ctrl+-", [&] { press(QKeySequence::ZoomOut); });
    expectKeptInView("Ctrl++", [&] { press(QKeySequence::ZoomIn); });

    PTToolbarSegmentedControl* control = app().toolbarController()->gridViewOptions();
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
    ASSERT_TRUE(waitFor([] { return shownGridOptions() != nullptr; })) << "no grid options";
    QSlider* slider = shownGridOptions()->slider();
    expectKeptInView("the toolbar's slider", [&] { slider->setValue(slider->minimum()); });
    shownGridOptions()->window()->close();
}

} // namespace
