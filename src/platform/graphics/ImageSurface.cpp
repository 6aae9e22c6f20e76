#include "platform/graphics/ImageSurface.h"

#include <cairo.h>

#include <utility>

namespace pt {

namespace {

// The largest side cairo's image backend accepts.
constexpr int MaximumSide = 32767;

const cairo_user_data_key_t AdoptedImageKey = {};

void releaseSurface(void* surface)
{
    cairo_surface_destroy(static_cast<cairo_surface_t*>(surface));
}

void deleteAdoptedImage(void* image)
{
    delete static_cast<QImage*>(image);
}

// Takes ownership of a new surface; a failed one (cairo answers an error object, never null) becomes null.
cairo_surface_t* checked(cairo_surface_t* surface)
{
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS)
        return surface;
    cairo_surface_destroy(surface);
    return nullptr;
}

} // namespace

ImageSurface::ImageSurface(QSize pixelSize)
{
    if (pixelSize.isEmpty() || pixelSize.width() > MaximumSide || pixelSize.height() > MaximumSide)
        return;
    // cairo clears new image surfaces to transparent.
    surface_ = checked(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelSize.width(), pixelSize.height()));
}

ImageSurface::ImageSurface(QImage image)
{
    if (image.isNull() || image.width() > MaximumSide || image.height() > MaximumSide)
        return;
    // Both sides store a pixel as one native-endian 32-bit word with premultiplied alpha in the top byte.
    auto* owned = new QImage(std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied));
    // The adopted image must be the only user of its data, or writing through the surface would reach it
    // behind Qt's copy-on-write; bits() detaches it when it is shared.
    uchar* bits = owned->bits();
    const int stride = static_cast<int>(owned->bytesPerLine());
    if (bits == nullptr || stride % 4 != 0) {
        delete owned;
        return;
    }
    surface_ = checked(cairo_image_surface_create_for_data(bits, CAIRO_FORMAT_ARGB32, owned->width(),
                                                           owned->height(), stride));
    if (!surface_ || cairo_surface_set_user_data(surface_, &AdoptedImageKey, owned, deleteAdoptedImage)
                         != CAIRO_STATUS_SUCCESS) {
        delete owned;
        if (surface_)
            cairo_surface_destroy(std::exchange(surface_, nullptr));
    }
}

ImageSurface::ImageSurface(const ImageSurface& other)
    : surface_(other.surface_ ? cairo_surface_reference(other.surface_) : nullptr)
{
}

ImageSurface& ImageSurface::operator=(const ImageSurface& other)
{
    if (this != &other)
        *this = ImageSurface(other);
    return *this;
}

ImageSurface::ImageSurface(ImageSurface&& other) noexcept : surface_(std::exchange(other.surface_, nullptr)) {}

ImageSurface& ImageSurface::operator=(ImageSurface&& other) noexcept
{
    std::swap(surface_, other.surface_);
    return *this;
}

ImageSurface::~ImageSurface()
{
    if (surface_)
        cairo_surface_destroy(surface_);
}

QSize ImageSurface::size() const
{
    if (!surface_)
        return {};
    return {cairo_image_surface_get_width(surface_), cairo_image_surface_get_height(surface_)};
}

int ImageSurface::bytesPerLine() const
{
    return surface_ ? cairo_image_surface_get_stride(surface_) : 0;
}

cairo_surface_t* ImageSurface::surface() const
{
    if (surface_)
        cairo_surface_mark_dirty(surface_);
    return surface_;
}

QImage ImageSurface::image() const
{
    if (!surface_)
        return {};
    cairo_surface_flush(surface_);
    const QSize pixels = size();
    return QImage(cairo_image_surface_get_data(surface_), pixels.width(), pixels.height(), bytesPerLine(),
                  QImage::Format_ARGB32_Premultiplied, releaseSurface, cairo_surface_reference(surface_));
}

} // namespace pt
