#include "FakeGridClock.h"
#include "GridTestSource.h"

#include <QDir>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Grey cells and header bands, blue selected cells, at ratio 2 over the grid's dark background: the frame of a
// scrolled grid with sections, a sticky header, a selection and a Ctrl-marquee over empty space (which keeps the
// selection).
TEST(GridScreenshotTest, SectionsStickyHeaderSelectionAndMarquee)
{
    FakeGridClock clock;
    GridTestSource source;
    PTGridView grid(nullptr, clock);
    shapeTestGrid(grid);
    grid.show();
    source.caps |= PTGridViewDataSource::WantsDrag;
    source.sections = GridTestSource::numbered({25, 25, 25});
    grid.setDataSource(&source);
    clock.advance(1);
    grid.animator().tick();
    grid.verticalScrollBar()->setValue(60);
    const auto onScreen = [&](qint64 index) { return grid.geometry().rectForItemAtIndex(index).translated(0, -60).center().toPoint(); };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, onScreen(22));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, onScreen(26));
    // Right of section 0's short last row (grid y 175 to 211): no item there.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, QPoint(300, 120));
    QMouseEvent move(QEvent::MouseMove, QPointF(480, 146), grid.viewport()->mapToGlobal(QPointF(480, 146)), Qt::NoButton,
                     Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(grid.viewport(), &move);
    ASSERT_NE(grid.marquee(), nullptr);
    EXPECT_EQ(grid.selection().indexes(), (std::vector<qint64>{22, 26}));

    QImage frame(QSize(500, 300) * 2, QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(2);
    grid.viewport()->render(&frame);
    const QString folder = QStringLiteral(PICTERN_SCREENSHOT_DIR);
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(frame.save(folder + QStringLiteral("/grid.png")));

    const auto at = [&](qreal x, qreal y) { return frame.pixelColor(static_cast<int>(x * 2), static_cast<int>(y * 2)); };
    // Section 0's header sticks one point above the top edge plus the margin (60 + 38 - 1 in the grid, 37 here).
    EXPECT_EQ(at(250, 38), QColor(Qt::darkGray));
    EXPECT_NE(at(250, 36), QColor(Qt::darkGray)); // above the header: background
    // Item 22 (row 2, column 2) at y 175 in the grid, 115 on screen, and not under the header.
    const QRectF selected = grid.geometry().rectForItemAtIndex(22).translated(0, -60);
    EXPECT_EQ(at(selected.center().x(), selected.center().y()), QColor(Qt::blue));
    const QRectF plain = grid.geometry().rectForItemAtIndex(21).translated(0, -60);
    EXPECT_EQ(at(plain.center().x(), plain.center().y()), QColor(Qt::darkGray));
    // Section 1's header band below it, and its selected second item.
    const QRectF header = grid.geometry().rectForSectionHeader(1).translated(0, -60);
    EXPECT_EQ(at(250, header.center().y()), QColor(Qt::darkGray));
    const QRectF second = grid.geometry().rectForItemAtIndex(26).translated(0, -60);
    EXPECT_EQ(at(second.center().x(), second.center().y()), QColor(Qt::blue));
    // The marquee: white at 0.2 over the background inside, its border white at 0.9 over that.
    const auto near = [](const QColor& a, int grey) {
        return std::abs(a.red() - grey) <= 3 && std::abs(a.green() - grey) <= 3 && std::abs(a.blue() - grey) <= 3;
    };
    EXPECT_TRUE(near(at(390, 133), 75)) << at(390, 133).name().toStdString();
    EXPECT_TRUE(near(at(300.25, 133), 237)) << at(300.25, 133).name().toStdString();
    EXPECT_TRUE(near(at(390, 120.25), 237)) << at(390, 120.25).name().toStdString();
    // Between items: the background.
    EXPECT_NE(at(plain.right() + 2, plain.center().y()), QColor(Qt::darkGray));
}

} // namespace
