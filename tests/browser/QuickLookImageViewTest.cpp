#include "BrowserThemeScope.h"

#include "browser/quicklook/PTQuickLookBackgroundView.h"
#include "browser/quicklook/PTQuickLookImageView.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

// A 20-point square at ratio 2: an opaque red block in the middle, transparent around it.
QImage redBlock()
{
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(10, 10, 20, 20, QColor(255, 0, 0));
    image.setDevicePixelRatio(2);
    return image;
}

// The light theme for each test.
struct QuickLookViews : ::testing::Test {
    BrowserThemeScope theme{PTAppearanceAqua};
};

QImage shot(QWidget& widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget.render(&image);
    return image;
}

TEST_F(QuickLookViews, ImageIsCentredOnWholePointsAndDraggedAsLastPainted)
{
    PTQuickLookImageView view;
    view.resize(101, 61);
    EXPECT_TRUE(view.draggingImage().isNull());
    view.setImage(redBlock());
    EXPECT_EQ(view.draggingFrame(), QRect(41, 21, 20, 20));
    EXPECT_EQ(view.draggingImage().cacheKey(), view.image().cacheKey()) << "the plain image before a paint";

    // A tint at half strength: a silhouette of the opaque parts in the colour's full hue at half opacity.
    view.setIconColor(QColor(0, 0, 255, 128));
    const QImage screen = shot(view);
    const QImage painted = view.draggingImage();
    ASSERT_EQ(painted.size(), QSize(40, 40));
    EXPECT_EQ(painted.devicePixelRatio(), 2);
    const QColor inside = painted.pixelColor(20, 20);
    EXPECT_EQ(inside.blue(), 255);
    EXPECT_EQ(inside.red(), 0);
    EXPECT_NEAR(inside.alpha(), 128, 1);
    EXPECT_EQ(painted.pixelColor(2, 2).alpha(), 0);
    // On screen: blue over the white field at the image's middle.
    const QColor middle = screen.pixelColor(51, 31);
    EXPECT_GT(middle.blue(), 250);
    EXPECT_NEAR(middle.red(), 127, 2);

    // A new image forgets the last painted one; an image of zero size paints none and keeps it so.
    view.setImage(QImage());
    EXPECT_TRUE(view.draggingImage().isNull());
    shot(view);
    EXPECT_TRUE(view.draggingImage().isNull());
}

// Whether any pixel of the field's inside differs from its plain fill: the dotted transparency pattern.
bool showsPattern(const QImage& image, const QColor& fill)
{
    for (int y = 5; y < image.height() - 5; ++y)
        for (int x = 5; x < image.width() - 5; ++x)
            if (image.pixelColor(x, y) != fill)
                return true;
    return false;
}

TEST_F(QuickLookViews, PatternShowsUnlessTheBackgroundIsOpaque)
{
    PTQuickLookImageView view;
    view.resize(60, 60);
    struct Case {
        QColor background;
        bool pattern;
        QColor fill;
    };
    const Case cases[] = {
        {QColor(), true, QColor(Qt::white)},
        {QColor(255, 255, 255, 0), true, QColor(Qt::white)}, // the transparent preset
        {QColor(0x1C, 0x20, 0x2A), false, QColor(0x1C, 0x20, 0x2A)},
        {QColor(Qt::white), false, QColor(Qt::white)},
    };
    for (const Case& c : cases) {
        view.setBackgroundColor(c.background);
        const QImage image = shot(view);
        EXPECT_EQ(showsPattern(image, c.fill), c.pattern) << c.background.name(QColor::HexArgb).toStdString();
        // The border lies inside the field: its edge pixels are darker than the fill.
        EXPECT_LT(image.pixelColor(30, 0).lightness(), c.fill.lightness() + 1);
        EXPECT_NE(image.pixelColor(30, 0), c.fill);
    }
}

TEST_F(QuickLookViews, BackgroundViewDrawsALineDownItsRightEdge)
{
    PTQuickLookBackgroundView view;
    view.resize(40, 20);
    const QImage image = shot(view);
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::white));
    // #888888 at 0.3 over white.
    EXPECT_NEAR(image.pixelColor(39, 10).red(), 220, 2);
    EXPECT_EQ(image.pixelColor(38, 10), QColor(Qt::white));
    BrowserThemeScope::set(PTAppearanceDark);
    const QImage dark = shot(view);
    EXPECT_EQ(dark.pixelColor(10, 10), QColor(0x1E, 0x1E, 0x1E));
    EXPECT_EQ(dark.pixelColor(39, 10), QColor(Qt::black));
}

} // namespace
