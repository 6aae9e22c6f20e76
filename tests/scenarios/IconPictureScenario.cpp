#include "ScenarioTest.h"

#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewCell.h"
#include "browser/quicklook/PTQuickLookImageView.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

namespace {

using IconPictureScenario = ScenarioTest;

// Pixels of the image within a few steps of the colour.
int pixelsOf(const QImage& image, QColor colour)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        for (int x = 0; x < pixels.width(); ++x) {
            const QColor pixel = pixels.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) < 12 && std::abs(pixel.green() - colour.green()) < 12
                && std::abs(pixel.blue() - colour.blue()) < 12)
                ++count;
        }
    }
    return count;
}

// An ICO file of a red 16-pixel picture and a blue 32-pixel one is drawn from the blue one in the grid's cell and
// in the inspector's preview, both larger than 16 pixels.
TEST_F(IconPictureScenario, AnIconFileIsDrawnFromItsPictureNearestTheSizeShown)
{
    importFolder(QStringLiteral("pictures"), QStringLiteral("Pictures"));
    ASSERT_TRUE(waitFor([this] { return grid()->visibleCells().size() == 1; }));
    const PTGridViewCell* cell = grid()->visibleCells().first();
    const QRect frame = cell->frame().toAlignedRect().translated(0, -grid()->verticalScrollBar()->value());
    ASSERT_GT(frame.width(), 32) << "the cell is no larger than the larger picture";

    const auto cellImage = [&] { return grid()->viewport()->grab(frame).toImage(); };
    ASSERT_TRUE(waitFor([&] { return pixelsOf(cellImage(), Qt::blue) + pixelsOf(cellImage(), Qt::red) > 0; }))
        << "the cell shows no picture";
    EXPECT_EQ(pixelsOf(cellImage(), Qt::red), 0) << "the cell shows the 16-pixel picture";
    EXPECT_GE(pixelsOf(cellImage(), Qt::blue), 32 * 32) << "the cell shows less than the 32-pixel picture";

    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, frame.center());
    ASSERT_TRUE(waitFor([this] { return selectedItemNames().size() == 1; }));
    // The selection's pane of the inspector shows the preview.
    PTQuickLookImageView* preview = nullptr;
    ASSERT_TRUE(waitFor([&] {
        for (QWidget* widget : QApplication::allWidgets()) {
            if (auto* view = qobject_cast<PTQuickLookImageView*>(widget); view && view->isVisible())
                preview = view;
        }
        return preview && !preview->image().isNull();
    })) << "the inspector previews nothing";
    const QImage shown = preview->grab().toImage();
    EXPECT_EQ(pixelsOf(shown, Qt::red), 0) << "the preview shows the 16-pixel picture";
    EXPECT_GE(pixelsOf(shown, Qt::blue), 32 * 32) << "the preview shows less than the 32-pixel picture";
}

} // namespace
