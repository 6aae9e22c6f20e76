#include "ui/colour/PTAlphaPickerView.h"
#include "ui/colour/PTHuePickerView.h"
#include "ui/colour/PTSaturationAndBrightnessView.h"

#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Presses at `from` and drags to `to` with the left button held; no release, as the last drag decides.
void drag(QWidget& view, QPoint from, QPoint to)
{
    QTest::mousePress(&view, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), view.mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &move);
}

testing::AssertionResult near(QRgb pixel, QColor expected, int tolerance = 12)
{
    const bool close = std::abs(qRed(pixel) - expected.red()) <= tolerance && std::abs(qGreen(pixel) - expected.green()) <= tolerance
        && std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
    if (close)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << QColor(pixel).name().toStdString() << " is not near "
                                       << expected.name().toStdString();
}

TEST(ColourPickerViewsTest, StripDragsMapToClampedValues)
{
    struct Case {
        const char* name;
        bool alpha;
        bool vertical;
        QPoint to;
        double expected;
    };
    // Strips are 100 x 20 across and 20 x 100 upright.
    const Case cases[] = {
        {"hue across, inside", false, false, {25, 10}, 0.25},
        {"hue across, left of it", false, false, {-30, 10}, 0},
        {"hue across, right of it", false, false, {130, 10}, 1},
        {"hue upright, starts at the bottom", false, true, {10, 75}, 0.25},
        {"hue upright, below it", false, true, {10, 140}, 0},
        {"hue upright, above it", false, true, {10, -5}, 1},
        {"alpha across, inside", true, false, {40, 10}, 0.4},
        {"alpha across, right of it", true, false, {150, 10}, 1},
        {"alpha upright, opaque at the bottom", true, true, {10, 75}, 0.75},
        {"alpha upright, below it", true, true, {10, 130}, 1},
        {"alpha upright, above it", true, true, {10, -10}, 0},
    };
    for (const Case& c : cases) {
        PTHuePickerView hue;
        PTAlphaPickerView alpha;
        QWidget& view = c.alpha ? static_cast<QWidget&>(alpha) : hue;
        view.resize(c.vertical ? QSize(20, 100) : QSize(100, 20));
        hue.setVerticalMode(c.vertical);
        alpha.setVerticalMode(c.vertical);
        QSignalSpy changes(&view, SIGNAL(valueChanged()));
        drag(view, QPoint(10, 10), c.to);
        EXPECT_NEAR(c.alpha ? alpha.alpha() : hue.hue(), c.expected, 1e-6) << c.name;
        EXPECT_EQ(changes.count(), 2) << c.name;
    }
}

TEST(ColourPickerViewsTest, SquareDragsSetSaturationAndBrightness)
{
    struct Case {
        QPoint to;
        double saturation;
        double brightness;
    };
    const Case cases[] = {
        {{50, 150}, 0.25, 0.25},
        {{-20, -20}, 0, 1},
        {{260, 260}, 1, 0},
    };
    for (const Case& c : cases) {
        PTSaturationAndBrightnessView square;
        square.resize(200, 200);
        drag(square, QPoint(100, 100), c.to);
        EXPECT_NEAR(square.saturation(), c.saturation, 1e-9);
        EXPECT_NEAR(square.brightness(), c.brightness, 1e-9);
    }

    PTSaturationAndBrightnessView square;
    square.resize(200, 150);
    square.setColor(QColor());
    EXPECT_EQ(PTSaturationAndBrightnessView::knobCentre(square.saturation(), square.brightness(), square.size()),
              QPointF(0, 150));
}

TEST(ColourPickerViewsTest, SquareAndHueStripShowTheirColours)
{
    PTSaturationAndBrightnessView square;
    square.resize(100, 100);
    square.setHue(0);
    square.setSaturation(0.5);
    square.setBrightness(0.5);
    QImage image = square.grab().toImage();
    EXPECT_TRUE(near(image.pixel(2, 2), Qt::white, 20));
    EXPECT_TRUE(near(image.pixel(95, 4), Qt::red));
    EXPECT_TRUE(near(image.pixel(50, 96), Qt::black));

    // A larger square is drawn anew, not from the smaller image.
    square.resize(200, 200);
    image = square.grab().toImage();
    EXPECT_TRUE(near(image.pixel(195, 4), Qt::red));
    EXPECT_TRUE(near(image.pixel(150, 196), Qt::black));

    PTHuePickerView strip;
    strip.resize(120, 20);
    strip.setHue(1);
    image = strip.grab().toImage();
    EXPECT_TRUE(near(image.pixel(20, 10), Qt::yellow));
    EXPECT_TRUE(near(image.pixel(2, 10), Qt::red, 40));
    strip.resize(20, 120);
    strip.setVerticalMode(true);
    image = strip.grab().toImage();
    EXPECT_TRUE(near(image.pixel(10, 100), Qt::yellow));
    EXPECT_TRUE(near(image.pixel(10, 60), Qt::cyan));
}

TEST(ColourPickerViewsTest, AlphaStripTakesTheColoursAlpha)
{
    PTAlphaPickerView strip;
    strip.resize(100, 20);
    strip.setColor(QColor(255, 0, 0, 51));
    EXPECT_NEAR(strip.alpha(), 0.2, 1e-6);
    const QImage image = strip.grab().toImage();
    EXPECT_TRUE(near(image.pixel(95, 4), Qt::red, 20));
    strip.setColor(QColor());
    EXPECT_EQ(strip.alpha(), 0);
}

} // namespace
