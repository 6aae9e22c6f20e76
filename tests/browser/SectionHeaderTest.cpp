#include "BrowserThemeScope.h"
#include "GridTestSource.h"

#include "browser/grid/GridBackdrop.h"
#include "browser/grid/PTGridViewSectionPathCell.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QTest>

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using TextLayer = PTGridViewSectionPathCell::TextLayer;

std::unique_ptr<PTGridViewSectionPathCell> header(const QStringList& names, qreal width, qint64 count = 0)
{
    auto cell = std::make_unique<PTGridViewSectionPathCell>(QStringLiteral("sectionItem"));
    cell->setPathComponents(names);
    cell->setItemCount(count);
    cell->setFrame(QRectF(0, 0, width, 30));
    return cell;
}

QStringList strings(const std::vector<TextLayer>& layers)
{
    QStringList result;
    for (const TextLayer& layer : layers)
        result << layer.string;
    return result;
}

// How far shrinking may narrow a run of that natural width.
qreal floorOf(const TextLayer& layer)
{
    return std::min(PTGridViewSectionPathCell::MinimumShrunkWidth, layer.frame.width());
}

qreal rightEnd(const std::vector<TextLayer>& layers)
{
    return layers.back().frame.right();
}

TEST(SectionHeaderTest, NamesBecomeRunsWithSeparatorsBetween)
{
    EXPECT_EQ(strings(header({QStringLiteral("Icons")}, 500)->textLayers()), QStringList{QStringLiteral("Icons")});
    const auto three = header({QStringLiteral("Group"), QString(), QStringLiteral("Set")}, 500);
    EXPECT_EQ(strings(three->textLayers()), (QStringList{QStringLiteral("Group"), QStringLiteral("\u27E9"),
                                                         QStringLiteral("Untitled"), QStringLiteral("\u27E9"),
                                                         QStringLiteral("Set")}));
    // Laid out from the margin with the spacing between runs, each at its measured width.
    const std::vector<TextLayer>& layers = three->textLayers();
    EXPECT_EQ(layers[0].frame.x(), 10);
    for (size_t i = 1; i < layers.size(); ++i) {
        EXPECT_EQ(layers[i].frame.x(), layers[i - 1].frame.x() + std::floor(layers[i - 1].frame.width()) + 6) << i;
        EXPECT_EQ(layers[i].frame.size(), layers[i].naturalSize) << i;
    }
    // The last name stands out; the others, the separators and the count are dim.
    EXPECT_GT(layers.back().color.alphaF(), layers[0].color.alphaF());
    EXPECT_EQ(layers[1].color, layers[0].color);
}

// The longest string narrows first, a point per round and only as far as needed; then together with the next
// longest; the last name last; never below the floor. Widths at which the count's room is taken from the path.
TEST(SectionHeaderTest, NarrowHeadersShortenTheLongestNamesFirst)
{
    const QStringList names{QStringLiteral("Interface Icons Collection"), QStringLiteral("Arrows and Pointers"),
                            QStringLiteral("Solid")};
    const auto wide = header(names, 2000, 1234);
    const std::vector<TextLayer> natural = wide->textLayers();
    const qreal countWidth = wide->countLayer().frame.width();
    ASSERT_EQ(natural.size(), 5U);
    ASSERT_GT(natural[0].frame.width(), natural[2].frame.width() + 10);

    // Just too narrow by 5 points: only the longest name gives up the points, one more than the excess.
    const qreal snug = rightEnd(natural) + countWidth + 2 * 10;
    const auto tight = header(names, snug - 5, 1234);
    const std::vector<TextLayer>& t = tight->textLayers();
    EXPECT_EQ(t[0].frame.width(), natural[0].frame.width() - 6);
    for (size_t i = 1; i < 5; ++i)
        EXPECT_EQ(t[i].frame.width(), natural[i].frame.width()) << i;
    EXPECT_LT(rightEnd(t), snug - 5 - countWidth - 20);

    struct Case {
        qreal width;
        bool lastShrinks;
    };
    for (const Case& c : {Case{300, false}, Case{100, true}, Case{40, true}}) {
        const auto cell = header(names, c.width, 1234);
        const std::vector<TextLayer>& layers = cell->textLayers();
        const qreal limit = c.width - countWidth - 20;
        const bool fits = rightEnd(layers) < limit;
        for (size_t i = 0; i < layers.size(); i += 2)
            EXPECT_GE(layers[i].frame.width(), floorOf(natural[i])) << c.width;
        for (size_t i = 1; i < layers.size(); i += 2)
            EXPECT_EQ(layers[i].frame.width(), natural[i].frame.width()) << "separators keep their width";
        // The two first names were brought down together: within a point of each other.
        EXPECT_LE(std::abs(layers[0].frame.width() - layers[2].frame.width()), 1) << c.width;
        EXPECT_EQ(layers[4].frame.width() < natural[4].frame.width(), c.lastShrinks) << c.width;
        if (!fits) {
            // Nothing more to take: every name is at the floor, and the rest is clipped.
            for (size_t i = 0; i < layers.size(); i += 2)
                EXPECT_EQ(layers[i].frame.width(), floorOf(natural[i]));
        }
        // The count keeps its place at the right margin.
        EXPECT_EQ(cell->countLayer().frame.right(), c.width - 10) << c.width;
    }
}

TEST(SectionHeaderTest, CountSitsAtTheRightMarginAndFollowsTheItemCount)
{
    const auto cell = header({QStringLiteral("Set")}, 400, 1234);
    EXPECT_EQ(cell->countLayer().string, QStringLiteral("1234"));
    EXPECT_EQ(cell->countLayer().frame.right(), 390);
    cell->setItemCount(7);
    EXPECT_EQ(cell->countLayer().string, QStringLiteral("7"));
    EXPECT_EQ(cell->countLayer().frame.right(), 390);
    // A resize moves it along.
    cell->setFrame(QRectF(0, 0, 300, 30));
    EXPECT_EQ(cell->countLayer().frame.right(), 290);
}

TEST(SectionHeaderTest, HoverHighlightsNamesOnlyAndOnlyWithAClickHandler)
{
    const auto cell = header({QStringLiteral("Group"), QStringLiteral("Set")}, 400);
    cell->attach();
    const std::vector<TextLayer> layers = cell->textLayers();
    cell->mouseMoved(nullptr, layers[0].frame.center());
    EXPECT_TRUE(cell->hoverRect().isNull()) << "no handler: search results";

    cell->setClickHandler([](qint64, QAction**) { return nullptr; });
    cell->mouseEntered(nullptr, layers[2].frame.center());
    EXPECT_EQ(cell->hoverRect(), layers[2].frame.adjusted(-4, -2, 4, 2));
    cell->mouseMoved(nullptr, layers[1].frame.center());
    EXPECT_TRUE(cell->hoverRect().isNull()) << "a separator";
    cell->mouseMoved(nullptr, layers[0].frame.center());
    EXPECT_EQ(cell->hoverRect().size(), layers[0].frame.size() + QSizeF(8, 4));
    cell->mouseExited(nullptr, QPointF());
    EXPECT_TRUE(cell->hoverRect().isNull());
}

TEST(SectionHeaderTest, TooltipsShowTheWholeNameOfShortenedRuns)
{
    const QString longName = QStringLiteral("A name far too long for the narrow header it is in");
    const auto cell = header({QStringLiteral("Group"), longName}, 120);
    const std::vector<TextLayer> layers = cell->textLayers();
    ASSERT_LT(layers[2].frame.width(), layers[2].naturalSize.width());
    const QVector<QRectF> rects = cell->tooltipRects();
    ASSERT_EQ(rects.size(), 3);
    EXPECT_EQ(cell->tooltipForPoint(rects[2].center()), longName);
    EXPECT_EQ(cell->tooltipForPoint(rects[1].center()), QString());
    EXPECT_EQ(cell->tooltipForPoint(QPointF(1, 1)), QString());
}

TEST(SectionHeaderTest, BackdropBlurKeepsEdgesOpaqueAndSaturationSpreadsColours)
{
    QImage content(40, 12, QImage::Format_ARGB32_Premultiplied);
    content.fill(QColor(0x40, 0x40, 0x40));
    for (int y = 0; y < 12; ++y)
        for (int x = 20; x < 40; ++x)
            content.setPixelColor(x, y, QColor(200, 80, 80));
    const QImage blurred = GridBackdrop::boxBlurred(content, 3);
    EXPECT_EQ(blurred.pixelColor(0, 0), QColor(0x40, 0x40, 0x40)) << "repeated edges: no fade to transparent";
    EXPECT_EQ(blurred.pixelColor(39, 11).alpha(), 255);
    const QColor middle = blurred.pixelColor(20, 6);
    EXPECT_GT(middle.red(), 0x40);
    EXPECT_LT(middle.red(), 200);

    const QImage vivid = GridBackdrop::saturated(content, 1.8);
    EXPECT_EQ(vivid.pixelColor(0, 0), QColor(0x40, 0x40, 0x40)) << "greys stay grey";
    const QColor red = vivid.pixelColor(30, 0);
    EXPECT_GT(red.red(), 200);
    EXPECT_LT(red.green(), 80);
}

// A grid whose headers are path cells over red and grey item cells.
class PathHeaderSource : public GridTestSource {
public:
    QStringList names{QStringLiteral("Group"), QStringLiteral("Arrows")};
    std::vector<qint64> clicks;
    bool renameOnClick = false;
    QMenu menu;
    QAction* second = nullptr;
    PathHeaderSource()
    {
        menu.addAction(QStringLiteral("First"));
        second = menu.addAction(QStringLiteral("Second"));
    }
    std::unique_ptr<PTGridViewCell> cellForSection(PTGridView& grid, qint64) override
    {
        auto cell = grid.dequeueReusableCellWithIdentifier(QStringLiteral("sectionItem"));
        if (!cell)
            cell = std::make_unique<PTGridViewSectionPathCell>(QStringLiteral("sectionItem"));
        auto* path = static_cast<PTGridViewSectionPathCell*>(cell.get());
        path->setPathComponents(names);
        path->setClickHandler([this, path](qint64 index, QAction** selected) {
            clicks.push_back(index);
            if (renameOnClick)
                path->setPathComponents({QStringLiteral("Renamed")});
            *selected = second;
            return &menu;
        });
        return cell;
    }
};

class RedCell : public PTGridViewCell {
public:
    RedCell()
        : PTGridViewCell(QStringLiteral("red"))
    {
    }
    void drawCellInRect(QPainter& painter, const QRectF& rect) override { painter.fillRect(rect, QColor(220, 20, 20)); }
};

class RedItemSource : public PathHeaderSource {
public:
    std::unique_ptr<PTGridViewCell> cellForItemAtIndexPath(PTGridView& grid, const GridIndexPath&) override
    {
        if (auto cell = grid.dequeueReusableCellWithIdentifier(QStringLiteral("red")))
            return cell;
        return std::make_unique<RedCell>();
    }
};

// In the dark theme, set by hand and given back to the desktop after.
struct PathHeaderGrid : ::testing::Test {
    BrowserThemeScope theme{PTAppearanceDark};
    FakeGridClock clock;
    // Outlives the grid, which talks to it until it is gone.
    std::unique_ptr<GridTestSource> dataSource;
    std::unique_ptr<PTGridView> grid;
    template <class Source>
    Source& show(const std::vector<int>& counts)
    {
        dataSource = std::make_unique<Source>();
        GridTestSource& source = *dataSource;
        grid = std::make_unique<PTGridView>(nullptr, clock);
        shapeTestGrid(*grid);
        grid->move(40, 40);
        grid->show();
        source.sections = GridTestSource::numbered(counts);
        grid->setDataSource(&source);
        clock.advance(1);
        grid->animator().tick();
        return static_cast<Source&>(source);
    }
    PTGridViewSectionPathCell* header(qint64 section) const
    {
        return static_cast<PTGridViewSectionPathCell*>(grid->headerCellForSection(section));
    }
};

TEST_F(PathHeaderGrid, ClickOnTheSecondNamePopsItsMenuUpAtTheNameWithoutSelecting)
{
    PathHeaderSource& source = show<PathHeaderSource>({10, 10});
    PTGridViewSectionPathCell* cell = header(0);
    ASSERT_NE(cell, nullptr);
    const QRectF name = cell->delocaliseRect(cell->textLayers()[2].frame);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, name.center().toPoint());
    EXPECT_EQ(source.clicks, std::vector<qint64>{1});
    ASSERT_TRUE(source.menu.isVisible());
    // The chosen entry's top left lands at the name's grown frame's, moved by (−17, +1).
    const QPointF origin = name.adjusted(-4, -2, 4, 2).topLeft() + QPointF(-17, 1);
    const QPoint expected = grid->viewport()->mapToGlobal(origin.toPoint());
    EXPECT_EQ(source.menu.geometry().topLeft() + source.menu.actionGeometry(source.second).topLeft(), expected);
    source.menu.hide();
    EXPECT_TRUE(grid->selectionIndexPaths().isEmpty());

    // A handler that renames the header still gets its menu at the name clicked.
    source.renameOnClick = true;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, name.center().toPoint());
    ASSERT_TRUE(source.menu.isVisible());
    EXPECT_EQ(source.menu.geometry().topLeft() + source.menu.actionGeometry(source.second).topLeft(), expected);
    EXPECT_EQ(cell->textLayers().size(), 1U);
    source.menu.hide();
    source.clicks.clear();
    cell->setPathComponents(source.names);

    // A click on a separator opens nothing.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      cell->delocaliseRect(cell->textLayers()[1].frame).center().toPoint());
    EXPECT_TRUE(source.clicks.empty());
    EXPECT_FALSE(source.menu.isVisible());
}

// Red items scrolled under the sticky header show through it, blurred; the header's dark bar elsewhere. Written
// as a screenshot of the header over the grid.
TEST_F(PathHeaderGrid, StickyHeaderShowsTheItemsBeneathThroughItsBar)
{
    show<RedItemSource>({60});
    const auto frameAt = [&](int scroll) {
        grid->verticalScrollBar()->setValue(scroll);
        QImage frame(QSize(500, 300) * 2, QImage::Format_ARGB32_Premultiplied);
        frame.setDevicePixelRatio(2);
        grid->viewport()->render(&frame);
        return frame;
    };
    const QImage unscrolled = frameAt(0);
    const QImage scrolled = frameAt(60);
    PTGridViewSectionPathCell* cell = header(0);
    ASSERT_TRUE(cell->sticky());
    ASSERT_TRUE(pt::test::writeScreenshot(scrolled, QStringLiteral("grid-section-header")));

    const auto at = [](const QImage& image, QPointF point) { return image.pixelColor((point * 2).toPoint()); };
    // The hairline borders at the top and bottom of the bar, as high as the header.
    const QColor border(0x0E, 0x11, 0x18);
    int top = 0;
    while (top < scrolled.height() && scrolled.pixelColor(600, top) != border)
        ++top;
    ASSERT_LT(top, 100);
    EXPECT_EQ(scrolled.pixelColor(600, top + 2 * 35 - 1), border);
    EXPECT_NE(scrolled.pixelColor(600, top + 2), border);
    const QRectF bar(0, top / 2.0, 500, 35);
    // Between the count and the names, in the bar's middle: before scrolling the header lies over the
    // background (a first red row only bleeds in at its edge); after, the red rows beneath show through.
    const QColor plain = at(unscrolled, QPointF(300, 38 + 35 / 2.0));
    const QColor over = at(scrolled, QPointF(300, bar.center().y()));
    EXPECT_LT(plain.red() - plain.green(), 16) << plain.name().toStdString();
    EXPECT_GT(over.red() - over.green(), plain.red() - plain.green() + 30) << over.name().toStdString();
    // The last name is drawn in near-white: some pixel of its frame is bright.
    const QRectF name = cell->textLayers().back().frame.translated(bar.topLeft());
    int brightest = 0;
    for (qreal x = name.left(); x < name.right(); x += 0.5)
        brightest = std::max(brightest, at(scrolled, QPointF(x, name.center().y())).lightness());
    EXPECT_GT(brightest, 200);
}

} // namespace
