#include "foundation/Rounding.h"

#include <gtest/gtest.h>

#include <limits>

TEST(RoundingTest, RoundFloatHalvesUp)
{
    const struct {
        float value;
        qint64 expected;
    } cases[] = {{2.5f, 3}, {2.4999f, 2}, {-2.5f, -3}, {0.5f, 1}, {-0.5f, -1}, {-2.4f, -2}, {7.0f, 7},
                 {std::numeric_limits<float>::quiet_NaN(), 0}, {std::numeric_limits<float>::infinity(), 0}};
    for (const auto& c : cases)
        EXPECT_EQ(PTRoundFloat(c.value), c.expected) << c.value;
}

TEST(RoundingTest, RoundRects)
{
    EXPECT_EQ(PTRoundRect(QRectF(0.5, 1.5, 2.5, 3.5)), QRectF(1, 2, 3, 4));
    EXPECT_EQ(PTRoundRect(QRectF(-0.5, -1.4, 2.49, 0.2)), QRectF(-1, -1, 2, 0));
    EXPECT_EQ(PTRoundRectHalfUp(QRectF(0.5, -0.5, 2.4999, 3.5)), QRectF(1, -1, 2, 4));
}

TEST(RoundingTest, PointsRoundAndSubtract)
{
    EXPECT_EQ(PTRoundPoint(QPointF(0.5, -2.5)), QPointF(1, -3));
    EXPECT_EQ(PTRoundPoint(QPointF(2.4999, -0.4)), QPointF(2, 0));
    EXPECT_EQ(PTPointDifference(QPointF(10, 3), QPointF(4, 5)), QPointF(6, -2));
}
