// poppler's glib headers come before Qt's, whose keyword macros they would trip over.
#include <poppler.h>

#include "foundation/PDF.h"
#include "foundation/Trimming.h"
#include "platform/graphics/ImageSurface.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// The first page of the PDF rendered at one pixel per point.
QImage renderFirstPage(const QByteArray& pdf)
{
    GBytes* bytes = g_bytes_new(pdf.constData(), gsize(pdf.size()));
    PopplerDocument* document = poppler_document_new_from_bytes(bytes, nullptr, nullptr);
    g_bytes_unref(bytes);
    if (!document)
        return {};
    QImage result;
    if (poppler_document_get_n_pages(document) == 1) {
        PopplerPage* page = poppler_document_get_page(document, 0);
        double width = 0;
        double height = 0;
        poppler_page_get_size(page, &width, &height);
        pt::ImageSurface surface(QSize(static_cast<int>(width), static_cast<int>(height)));
        cairo_t* cr = cairo_create(surface.surface());
        poppler_page_render(page, cr);
        cairo_destroy(cr);
        g_object_unref(page);
        result = surface.image().copy();
    }
    g_object_unref(document);
    return result;
}

} // namespace

TEST(TrimmingTest, CountsTheEmptyBorder)
{
    QImage image(10, 10, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    image.setPixel(3, 2, qRgba(0, 0, 0, 255));
    image.setPixel(7, 6, qRgba(0, 0, 0, 100));
    // QMargins holds left, top, right, bottom.
    EXPECT_EQ(trimming::trimmingInsetsWithFullOpaque(image, true), QMargins(3, 2, 6, 7));
    EXPECT_EQ(trimming::trimmingInsetsWithFullOpaque(image, false), QMargins(3, 2, 2, 3));

    QImage empty(10, 10, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    EXPECT_EQ(trimming::trimmingInsetsWithFullOpaque(empty, false), QMargins());
    EXPECT_EQ(trimming::trimmingInsetsWithFullOpaque(QImage(), true), QMargins());

    // Measured in points: a 20-pixel image at ratio 2 is 10 points wide.
    QImage hiDpi(20, 20, QImage::Format_ARGB32);
    hiDpi.fill(Qt::transparent);
    for (int y = 4; y < 6; ++y)
        for (int x = 6; x < 8; ++x)
            hiDpi.setPixel(x, y, qRgba(0, 0, 0, 255));
    hiDpi.setDevicePixelRatio(2.0);
    EXPECT_EQ(trimming::trimmingInsetsWithFullOpaque(hiDpi, true), QMargins(3, 2, 6, 7));
}

TEST(PDFDataTest, OnePageOfThePointSize)
{
    QImage image(64, 32, QImage::Format_ARGB32);
    image.fill(QColor(200, 30, 30));
    image.setDevicePixelRatio(2.0);
    const QByteArray pdf = PDF::PDFData(image);
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    const QImage page = renderFirstPage(pdf);
    ASSERT_EQ(page.size(), QSize(32, 16));
    EXPECT_EQ(page.pixel(0, 0), qRgb(200, 30, 30));
    EXPECT_EQ(page.pixel(31, 15), qRgb(200, 30, 30));
    EXPECT_TRUE(PDF::PDFData(QImage()).isEmpty());
}
