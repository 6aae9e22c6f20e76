#include "ui/views/PTStackLayout.h"

#include <gtest/gtest.h>

namespace {

PTStackLayout::Input threeRows()
{
    PTStackLayout::Input input;
    input.width = 100;
    input.items = {{QSizeF(30, 20)}, {QSizeF(30, 30)}, {QSizeF(30, 40)}};
    input.spacing = 5;
    input.contentInsets = QMarginsF(0, 10, 0, 10);
    return input;
}

std::vector<int> tops(const PTStackLayout::Result& result)
{
    std::vector<int> y;
    for (const QRect& rect : result.items)
        y.push_back(rect.y());
    return y;
}

TEST(StackLayoutTest, RowsGapsInsetsAndHeight)
{
    const PTStackLayout::Result plain = PTStackLayout::compute(threeRows());
    EXPECT_EQ(tops(plain), (std::vector<int>{10, 35, 70}));
    EXPECT_EQ(plain.height, 120);

    PTStackLayout::Input custom = threeRows();
    custom.items[0].customSpacing = 12;
    EXPECT_EQ(tops(PTStackLayout::compute(custom)), (std::vector<int>{10, 42, 77}));

    PTStackLayout::Input empty = threeRows();
    empty.items.clear();
    EXPECT_EQ(PTStackLayout::compute(empty).height, 10); // the top inset does not count
    empty.minHeight = 30;
    EXPECT_EQ(PTStackLayout::compute(empty).height, 30);
}

TEST(StackLayoutTest, SeparatorsSitInTheMiddleOfTheGapsWithinTheContentInsets)
{
    PTStackLayout::Input input = threeRows();
    input.contentInsets = QMarginsF(8, 10, 4, 10);
    input.gutters[PTStackLayout::MinXGutter] = PTStackLayout::GutterView{QSizeF(6, 6), PTStackLayout::Fill};
    input.separatorHeights = {1, 1};
    const PTStackLayout::Result result = PTStackLayout::compute(input);
    ASSERT_EQ(result.separators.size(), 2u);
    EXPECT_EQ(result.separators[0], QRect(8, 32, 88, 1));
    EXPECT_EQ(result.separators[1], QRect(8, 67, 88, 1));
    EXPECT_EQ(result.items[0].x(), 14); // the gutter pushes rows, not separators
}

TEST(StackLayoutTest, Alignments)
{
    struct Case {
        PTStackLayout::Alignment alignment;
        qreal width;
        QRect expected;
    };
    const Case cases[] = {
        {PTStackLayout::Fill, 30, QRect(10, 0, 80, 20)},
        {PTStackLayout::Right, 30, QRect(60, 0, 30, 20)},
        {PTStackLayout::Left, 30, QRect(10, 0, 30, 20)},
        {PTStackLayout::Centre, 30, QRect(35, 0, 30, 20)},
        {PTStackLayout::Right, 120, QRect(10, 0, 80, 20)}, // too wide: from the left inset, clipped
        {PTStackLayout::Left, 120, QRect(10, 0, 80, 20)},
        {PTStackLayout::Centre, 120, QRect(-10, 0, 120, 20)}, // centred rows are never clipped
    };
    for (const Case& c : cases) {
        PTStackLayout::Input input;
        input.width = 100;
        input.contentInsets = QMarginsF(10, 0, 10, 0);
        input.alignment = c.alignment;
        input.items = {{QSizeF(c.width, 20)}};
        EXPECT_EQ(PTStackLayout::compute(input).items[0], c.expected) << c.alignment << " " << c.width;
    }
}

TEST(StackLayoutTest, GutterViewsTakeRoomAndArePlacedByMode)
{
    PTStackLayout::Input input = threeRows();
    input.gutters[PTStackLayout::MinYGutter] = PTStackLayout::GutterView{QSizeF(40, 20), PTStackLayout::Centre};
    input.gutters[PTStackLayout::MaxXGutter] = PTStackLayout::GutterView{QSizeF(16, 10), PTStackLayout::Right};
    input.gutterInsets = QMarginsF(0, 5, 20, 0);
    const PTStackLayout::Result result = PTStackLayout::compute(input);
    EXPECT_EQ(result.items[0], QRect(0, 35, 64, 20)); // 10 + 20 + 5 down; 16 + 20 in from the right
    EXPECT_EQ(result.height, 145);
    EXPECT_EQ(result.gutters[PTStackLayout::MinYGutter], QRect(30, 10, 40, 20));
    EXPECT_EQ(result.gutters[PTStackLayout::MaxXGutter], QRect(84, 125, 16, 10)); // mode 1: at the bottom
    EXPECT_FALSE(result.gutters[PTStackLayout::MinXGutter]);
}

TEST(StackLayoutTest, IntegralRectanglesGrowOutwards)
{
    EXPECT_EQ(PTStackLayout::integral(QRectF(0.5, 1.2, 10, 2.5)), QRect(0, 1, 11, 3));
    EXPECT_EQ(PTStackLayout::integral(QRectF(-0.5, 0, 1, 1)), QRect(-1, 0, 2, 1));
}

} // namespace
