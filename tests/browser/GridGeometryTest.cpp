#include "browser/grid/GridGeometry.h"

#include <gtest/gtest.h>

#include <random>

namespace {

GridGeometry::Metrics metrics(qreal item, qreal margin, qreal header = 30, bool headers = true)
{
    GridGeometry::Metrics m;
    m.itemSize = QSizeF(item, item);
    m.itemMargin = margin;
    m.sectionHeaderHeight = header;
    m.displaySectionHeaders = headers;
    return m;
}

GridGeometry layout(const std::vector<qint64>& counts, const GridGeometry::Metrics& m, qreal width, qreal top = 0,
                    qreal bottom = 0)
{
    GridGeometry geometry;
    geometry.reload(counts);
    geometry.updateFrames(m, {QRectF(0, 0, width, 10), QRectF(0, 0, width, 300), top, bottom});
    return geometry;
}

// The worked example of the grid: 10 columns over 500 points, spread 13.33 apart, the first row below a 35-point
// header that starts under a 38-point top margin.
TEST(GridGeometryTest, WorkedExample)
{
    const GridGeometry g = layout({25, 3}, metrics(36, 10, 35), 500, 38, 7);
    EXPECT_EQ(g.numberOfColumns(), 10);
    EXPECT_EQ(g.rectForItemAtIndex(0), QRectF(10, 83, 36, 36));
    EXPECT_EQ(g.rectForItemAtIndex(1), QRectF(59, 83, 36, 36)); // 59.33
    EXPECT_EQ(g.rectForItemAtIndex(9), QRectF(454, 83, 36, 36)); // the last column ends a margin before the edge
    EXPECT_EQ(g.rectForItemAtIndex(10), QRectF(10, 129, 36, 36));
    EXPECT_EQ(g.rectForItemAtIndex(24), QRectF(207, 175, 36, 36));
    // Section 0: 38 + 35 + 10 + 3 rows of 36 with 10 between + 10 after.
    EXPECT_EQ(g.sectionFrame(0), QRectF(0, 38, 500, 211 - 38 + 10));
    EXPECT_EQ(g.rectForSectionHeader(1), QRectF(0, 221, 500, 35));
    EXPECT_EQ(g.rectForItemAtIndex(25), QRectF(10, 266, 36, 36));
    EXPECT_EQ(g.numberOfRows(), 4);
    EXPECT_EQ(g.proposedFrameRect().height(), 302 + 10 + 7);
    EXPECT_EQ(g.rangeOfIndexesInSection(1), (GridRange{25, 3}));
    EXPECT_EQ(g.indexPathForIndex(26), (GridIndexPath{1, 1}));
    EXPECT_EQ(g.indexForIndexPath({1, 2}), 27);
    EXPECT_EQ(g.sectionForItemAtIndex(26), 1);
    EXPECT_EQ(g.sectionIndexForItemAtIndex(26), 1);
    EXPECT_EQ(g.rowForItemAtIndex(26), 3);
    EXPECT_EQ(g.columnForItemAtIndex(26), 1);
}

TEST(GridGeometryTest, Shapes)
{
    {
        SCOPED_TRACE("narrower than one item: one centred column");
        const GridGeometry g = layout({3}, metrics(50, 15), 60);
        EXPECT_EQ(g.numberOfColumns(), 1);
        EXPECT_EQ(g.rectForItemAtIndex(0), QRectF(5, 45, 50, 50));
        EXPECT_EQ(g.rectForItemAtIndex(2).y(), 45 + 2 * 65);
    }
    {
        SCOPED_TRACE("one row in the whole grid: packed from the left");
        const GridGeometry g = layout({3}, metrics(50, 15), 500);
        EXPECT_EQ(g.rectForItemAtIndex(1).x(), 80);
        EXPECT_EQ(g.rectForItemAtIndex(2).x(), 145);
        const GridGeometry two = layout({2, 1}, metrics(50, 15), 500); // two rows: spread again
        EXPECT_EQ(two.rectForItemAtIndex(1).x(), 85);
    }
    {
        SCOPED_TRACE("an empty section: no height, no header, one row number");
        const GridGeometry g = layout({2, 0, 1}, metrics(50, 15), 500);
        EXPECT_EQ(g.sectionFrame(1), QRectF(0, 110, 500, 0));
        EXPECT_EQ(g.sectionFrame(2).y(), 110);
        EXPECT_EQ(g.rowForItemAtIndex(2), 2);
        EXPECT_EQ(g.rangeOfIndexesInSection(1), (GridRange{2, 0}));
        EXPECT_EQ(g.sectionForPoint(QPointF(10, 110)), 2);
    }
    {
        SCOPED_TRACE("a short last row leaves empty slots");
        const GridGeometry g = layout({5}, metrics(50, 15), 300); // 4 columns
        EXPECT_EQ(g.numberOfColumns(), 4);
        EXPECT_EQ(g.gridIndexAt(0, 1), 4);
        EXPECT_EQ(g.gridIndexAt(1, 1), kGridNotFound);
        EXPECT_EQ(g.indexPathForPoint(g.rectForItemAtIndex(1).translated(0, 65).center()), GridIndexPath());
    }
    {
        SCOPED_TRACE("no items");
        const GridGeometry g = layout({0, 0}, metrics(50, 15), 500);
        EXPECT_EQ(g.proposedFrameRect(), QRectF(0, 0, 500, 300));
        EXPECT_EQ(g.rangeOfSectionsInRect(QRectF(0, 0, 500, 500)), GridRange());
        EXPECT_EQ(g.rangeOfItemsInRect(QRectF(0, 0, 500, 500)), GridRange());
        EXPECT_FALSE(g.indexPathForPoint(QPointF(20, 20)).isValid());
        EXPECT_EQ(g.sectionForPoint(QPointF(20, 20)), kGridNotFound);
        EXPECT_EQ(g.rectForItemAtIndex(0), QRectF());
    }
}

TEST(GridGeometryTest, ColumnsFloorInSinglePrecision)
{
    // 9.9999999 in double is 10 in single precision.
    EXPECT_EQ(GridGeometry::columnsForWidth(9.9999999, metrics(1, 0)), 10);
    EXPECT_EQ(GridGeometry::columnsForWidth(500, metrics(36, 10)), 10);
    EXPECT_EQ(GridGeometry::columnsForWidth(-40, metrics(36, 10)), 1);
    EXPECT_EQ(GridGeometry::columnsForWidth(500, metrics(0, 0)), 1);
    EXPECT_EQ(GridGeometry::columnsForWidth(500, metrics(0.5, 0)), 1);
}

TEST(GridGeometryTest, BadInputIsContained)
{
    const GridGeometry g = layout({-4, 2}, metrics(50, 15), 500);
    EXPECT_EQ(g.numberOfItemsInSection(0), 0);
    EXPECT_EQ(g.numberOfItems(), 2);
    for (const GridIndexPath path : {GridIndexPath{0, 0}, GridIndexPath{1, 2}, GridIndexPath{2, 0}, GridIndexPath{-1, 0},
                                     GridIndexPath{1, -1}, GridIndexPath::header(1)})
        EXPECT_EQ(g.indexForIndexPath(path), kGridNotFound);
    EXPECT_FALSE(g.indexPathForIndex(2).isValid());
    EXPECT_FALSE(g.indexPathForIndex(-1).isValid());
    EXPECT_FALSE(g.indexPathForIndex(kGridNotFound).isValid());
    EXPECT_EQ(g.rangeOfIndexesInSection(5), GridRange());
    EXPECT_EQ(g.gridIndexAt(-1, 0), kGridNotFound);
}

TEST(GridGeometryTest, DocumentIsNeverShorterThanTheViewport)
{
    const GridGeometry g = layout({3}, metrics(50, 15), 500, 0, 10);
    EXPECT_EQ(g.documentSize(QSizeF(480, 600)), QSizeF(480, 600));
    EXPECT_EQ(g.documentSize(QSizeF(480, 20.25)), QSizeF(480, 30 + 15 + 50 + 15 + 10));
}

// What the arithmetic must answer, found by walking every frame.
struct Scan {
    const GridGeometry& g;

    GridRange sections(const QRectF& rect) const
    {
        qint64 first = -1, last = -1;
        for (qint64 s = 0; g.numberOfItems() > 0 && s < g.numberOfSections(); ++s) {
            if (GridGeometry::intersects(g.sectionFrame(s), rect)) {
                first = first < 0 ? s : first;
                last = s;
            }
        }
        return first < 0 ? GridRange() : GridRange{first, last - first + 1};
    }
    std::vector<qint64> items(const QRectF& rect, bool run) const
    {
        std::vector<qint64> hits;
        const GridRange range = sections(rect);
        for (qint64 s = range.location; s < range.end(); ++s) {
            const GridRange items = g.rangeOfIndexesInSection(s);
            for (qint64 i = items.location; i < items.end(); ++i) {
                if (GridGeometry::intersects(g.rectForItemAtIndex(i), rect))
                    hits.push_back(i);
                else if (run && !hits.empty())
                    return hits;
            }
        }
        return hits;
    }
    GridIndexPath item(const QPointF& point) const
    {
        for (qint64 i = 0; i < g.numberOfItems(); ++i)
            if (GridGeometry::contains(g.rectForItemAtIndex(i), point))
                return g.indexPathForIndex(i);
        return {};
    }
    qint64 section(const QPointF& point) const
    {
        for (qint64 s = 0; g.numberOfItems() > 0 && s < g.numberOfSections(); ++s)
            if (GridGeometry::contains(g.sectionFrame(s), point))
                return s;
        return kGridNotFound;
    }
};

TEST(GridGeometryTest, ArithmeticAnswersEqualAScan)
{
    std::mt19937 random(20261210);
    const auto pick = [&](auto... values) {
        const std::vector<qreal> choices{static_cast<qreal>(values)...};
        return choices[std::uniform_int_distribution<size_t>(0, choices.size() - 1)(random)];
    };
    const auto uniform = [&](qreal lo, qreal hi) { return std::uniform_real_distribution<qreal>(lo, hi)(random); };
    for (int round = 0; round < 300; ++round) {
        std::vector<qint64> counts(std::uniform_int_distribution<int>(0, 7)(random));
        for (qint64& count : counts)
            count = pick(0, 1, 3, 7, 12, 30);
        const GridGeometry::Metrics m =
            metrics(pick(1, 13, 36, 50, 80), pick(0, 2.5, 10, 15, 15.3), pick(0, 22.5, 30), round % 3 != 0);
        const qreal width = pick(30, 131.7, 400, 500, 901);
        const GridGeometry g = layout(counts, m, width, pick(0, 12.7, 38), pick(0, 5));
        const Scan scan{g};
        SCOPED_TRACE(::testing::Message() << "round " << round);

        // Points and rects at random and on the edges of frames, where half-open comparisons matter.
        const qreal height = g.proposedFrameRect().height() + 20;
        std::vector<qreal> xs{-5, 0, width, uniform(-10, width + 10)}, ys{-5, 0, height, uniform(-10, height)};
        for (int i = 0; i < 6 && g.numberOfItems() > 0; ++i) {
            const QRectF frame = g.rectForItemAtIndex(std::uniform_int_distribution<qint64>(0, g.numberOfItems() - 1)(random));
            xs.insert(xs.end(), {frame.left(), frame.right(), frame.right() - 0.5, uniform(-10, width + 10)});
            ys.insert(ys.end(), {frame.top(), frame.bottom(), frame.top() - 0.5, uniform(-10, height)});
        }
        for (qreal x : xs) {
            for (qreal y : ys) {
                const QPointF point(x, y);
                ASSERT_EQ(g.indexPathForPoint(point), scan.item(point)) << x << "," << y;
                ASSERT_EQ(g.sectionForPoint(point), scan.section(point)) << x << "," << y;
            }
        }
        for (int i = 0; i < 40; ++i) {
            const qreal x1 = xs[random() % xs.size()], x2 = xs[random() % xs.size()];
            const qreal y1 = ys[random() % ys.size()], y2 = ys[random() % ys.size()];
            const QRectF rect = QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized();
            ASSERT_EQ(g.rangeOfSectionsInRect(rect), scan.sections(rect)) << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
            const std::vector<qint64> run = scan.items(rect, true);
            const GridRange expected = run.empty() ? GridRange() : GridRange{run.front(), static_cast<qint64>(run.size())};
            ASSERT_EQ(g.rangeOfItemsInRect(rect), expected);
            ASSERT_EQ(g.indexesOfItemsInRect(rect), scan.items(rect, false));
        }
    }
}

} // namespace
