#include "platform/graphics/ImageSurface.h"

#include <QPainter>

#include <cairo.h>
#include <gtest/gtest.h>

namespace {

// The premultiplied word cairo stores for a colour.
quint32 cairoPixel(cairo_surface_t* surface, int x, int y)
{
    cairo_surface_flush(surface);
    const auto* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const quint32*>(row)[x];
}

} // namespace

TEST(ImageSurfaceTest, CairoDrawingShowsInTheImage)
{
    pt::ImageSurface buffer(QSize(8, 6));
    ASSERT_FALSE(buffer.isNull());
    EXPECT_EQ(buffer.image().pixel(3, 3), 0u) << "a new buffer is transparent";

    cairo_t* cr = cairo_create(buffer.surface());
    cairo_set_source_rgba(cr, 1, 0, 0, 0.5);
    cairo_rectangle(cr, 2, 1, 3, 2);
    cairo_fill(cr);
    cairo_destroy(cr);

    const QImage image = buffer.image();
    EXPECT_EQ(image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(image.size(), QSize(8, 6));
    EXPECT_EQ(image.constBits(), cairo_image_surface_get_data(buffer.surface())) << "no copy";
    EXPECT_EQ(image.pixel(2, 1), 0x80800000u) << "half-transparent red, premultiplied";
    EXPECT_EQ(image.pixel(4, 2), 0x80800000u);
    EXPECT_EQ(image.pixel(5, 2), 0u);
    EXPECT_EQ(image.pixel(2, 3), 0u);
}

TEST(ImageSurfaceTest, QPainterDrawingShowsInCairo)
{
    pt::ImageSurface buffer(QSize(10, 10));
    {
        QImage image = buffer.image();
        QPainter painter(&image);
        painter.fillRect(QRect(0, 5, 10, 5), QColor(0, 0, 255));
    }
    EXPECT_EQ(cairoPixel(buffer.surface(), 1, 7), 0xFF0000FFu);
    EXPECT_EQ(cairoPixel(buffer.surface(), 1, 4), 0u);

    // cairo reads what QPainter wrote: copy the buffer through a cairo pattern into a second surface.
    pt::ImageSurface copy(QSize(10, 10));
    cairo_t* cr = cairo_create(copy.surface());
    cairo_set_source_surface(cr, buffer.surface(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    EXPECT_EQ(copy.image().pixel(9, 9), 0xFF0000FFu);
    EXPECT_EQ(copy.image().pixel(9, 0), 0u);
}

TEST(ImageSurfaceTest, AdoptsAnImageWithoutCopying)
{
    QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
    image.fill(0xFF00FF00u);
    const uchar* bits = image.constBits();
    pt::ImageSurface buffer(std::move(image));
    ASSERT_FALSE(buffer.isNull());
    EXPECT_EQ(cairo_image_surface_get_data(buffer.surface()), bits);
    EXPECT_EQ(cairoPixel(buffer.surface(), 3, 3), 0xFF00FF00u);
}

TEST(ImageSurfaceTest, AdoptingASharedImageLeavesTheCallerCopyAlone)
{
    QImage original(4, 4, QImage::Format_ARGB32_Premultiplied);
    original.fill(Qt::transparent);
    pt::ImageSurface buffer(original);
    cairo_t* cr = cairo_create(buffer.surface());
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    EXPECT_EQ(original.pixel(0, 0), 0u);
    EXPECT_EQ(buffer.image().pixel(0, 0), 0xFFFFFFFFu);
}

TEST(ImageSurfaceTest, ConvertsOtherFormats)
{
    QImage rgb(2, 2, QImage::Format_RGB888);
    rgb.fill(QColor(10, 20, 30));
    pt::ImageSurface buffer(rgb);
    EXPECT_EQ(buffer.image().pixel(1, 1), qRgb(10, 20, 30));
}

TEST(ImageSurfaceTest, PixelsOutliveTheirHolders)
{
    QImage image;
    cairo_surface_t* surface = nullptr;
    {
        pt::ImageSurface buffer(QSize(3, 3));
        cairo_t* cr = cairo_create(buffer.surface());
        cairo_set_source_rgb(cr, 0, 1, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        image = buffer.image();
        surface = cairo_surface_reference(buffer.surface());
    }
    EXPECT_EQ(image.pixel(2, 2), 0xFF00FF00u);
    image = QImage();
    EXPECT_EQ(cairoPixel(surface, 1, 1), 0xFF00FF00u);
    cairo_surface_destroy(surface);

    QImage adoptedView;
    {
        QImage source(2, 2, QImage::Format_ARGB32_Premultiplied);
        source.fill(0xFF112233u);
        adoptedView = pt::ImageSurface(std::move(source)).image();
    }
    EXPECT_EQ(adoptedView.pixel(0, 1), 0xFF112233u);
}

TEST(ImageSurfaceTest, RefusesEmptyAndOversizedBuffers)
{
    EXPECT_TRUE(pt::ImageSurface(QSize(0, 5)).isNull());
    EXPECT_TRUE(pt::ImageSurface(QSize(40000, 1)).isNull());
    EXPECT_TRUE(pt::ImageSurface(QImage()).isNull());
    EXPECT_TRUE(pt::ImageSurface().image().isNull());
}
