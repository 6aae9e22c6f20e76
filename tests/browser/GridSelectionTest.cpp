#include "browser/grid/GridGeometry.h"
#include "browser/grid/GridSelection.h"

#include <gtest/gtest.h>

namespace {

TEST(GridSelectionTest, ArrowTargetsOverSectionsWithAnEmptyOneAndShortRows)
{
    // Sections of 5, 0, 3 and 12 items in 4 columns:
    //   row 0:  0  1  2  3     row 3:  5  6  7  .     row 5: 12 13 14 15
    //   row 1:  4  .  .  .     row 4:  8  9 10 11     row 6: 16 17 18 19
    //   row 2: (the empty section)
    GridGeometry geometry;
    geometry.reload({5, 0, 3, 12});
    GridGeometry::Metrics metrics;
    metrics.itemSize = QSizeF(50, 50);
    metrics.itemMargin = 10;
    geometry.updateFrames(metrics, {QRectF(0, 0, 260, 0), QRectF(), 0, 0});
    ASSERT_EQ(geometry.numberOfColumns(), 4);

    constexpr qint64 no = kGridNotFound;
    const std::vector<qint64> up{no, no, no, no, 0, 4, 4, 4, 5, 6, 7, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    const std::vector<qint64> down{4, 4, 4, 4, 5, 8, 9, 10, 12, 13, 14, 15, 16, 17, 18, 19, 19, 19, 19, no};
    for (qint64 start = 0; start < 20; ++start) {
        SCOPED_TRACE(::testing::Message() << "from " << start);
        EXPECT_EQ(GridSelection::target(geometry, start, GridDirection::Up), up[static_cast<size_t>(start)]);
        EXPECT_EQ(GridSelection::target(geometry, start, GridDirection::Down), down[static_cast<size_t>(start)]);
        EXPECT_EQ(GridSelection::target(geometry, start, GridDirection::Left), start == 0 ? no : start - 1);
        EXPECT_EQ(GridSelection::target(geometry, start, GridDirection::Right), start == 19 ? no : start + 1);
    }
}

TEST(GridSelectionTest, DownFromASectionsEndIntoANarrowerSection)
{
    // 0 1 2 3 / 4 5 6 . then a section of 2: from 6 (column 2, nothing below) to the next section's last item;
    // from 5 the slot below holds item 8.
    GridGeometry geometry;
    geometry.reload({7, 2, 9});
    GridGeometry::Metrics metrics;
    metrics.itemSize = QSizeF(50, 50);
    metrics.itemMargin = 10;
    geometry.updateFrames(metrics, {QRectF(0, 0, 260, 0), QRectF(), 0, 0});
    EXPECT_EQ(GridSelection::target(geometry, 6, GridDirection::Down), 8);
    EXPECT_EQ(GridSelection::target(geometry, 5, GridDirection::Down), 8);
    EXPECT_EQ(GridSelection::target(geometry, 4, GridDirection::Down), 7);
    EXPECT_EQ(GridSelection::target(geometry, 8, GridDirection::Down), 10); // the same column below
    EXPECT_EQ(GridSelection::target(geometry, 3, GridDirection::Down), 6);  // short row: the section's last
}

TEST(GridSelectionTest, BitsCountAndIgnoreOutsiders)
{
    GridSelection selection;
    selection.reset(10);
    selection.select(3);
    selection.select(3);
    selection.select(7);
    selection.select(10);
    selection.select(-1);
    EXPECT_EQ(selection.count(), 2);
    EXPECT_EQ(selection.indexes(), (std::vector<qint64>{3, 7}));
    EXPECT_EQ(selection.highest(), 7);
    selection.deselect(7);
    selection.deselect(7);
    EXPECT_EQ(selection.count(), 1);
    selection.fill();
    EXPECT_EQ(selection.count(), 10);
    EXPECT_EQ(selection.highest(), 9);
    selection.clear();
    EXPECT_EQ(selection.highest(), kGridNotFound);
}

} // namespace
