#pragma once

#include <QImage>
#include <QSize>

typedef struct _cairo_surface cairo_surface_t;

namespace pt {

// One ARGB32 premultiplied pixel buffer seen both as a cairo image surface and as QImages, without copying:
// cairo draws into it, QPainter paints on image(), and each sees what the other wrote. The cairo surface owns
// the pixels (a buffer of its own, or the adopted QImage's); every QImage handed out holds a reference on it, so
// the pixels stay alive for as long as any holder (this object, a QImage, a cairo pattern) still uses them.
//
// cairo caches what it knows about its pixels: surface() marks them dirty, image() flushes pending cairo work
// first, so fetch the one you draw with after the other side has drawn.
class ImageSurface {
public:
    ImageSurface() = default;
    // A transparent buffer of that many pixels; a null surface for an empty or oversized size.
    explicit ImageSurface(QSize pixelSize);
    // Adopts the image's pixels (converted to ARGB32 premultiplied first if needed). No pixel is copied when the
    // image is already in that format and the caller passed its only reference (std::move).
    explicit ImageSurface(QImage image);
    ImageSurface(const ImageSurface& other);
    ImageSurface& operator=(const ImageSurface& other);
    ImageSurface(ImageSurface&& other) noexcept;
    ImageSurface& operator=(ImageSurface&& other) noexcept;
    ~ImageSurface();

    bool isNull() const { return surface_ == nullptr; }
    QSize size() const;
    int bytesPerLine() const;

    // The cairo side, for cairo_create() and patterns; marks the pixels as changed from outside cairo.
    cairo_surface_t* surface() const;
    // A QImage over the same pixels, painting on it draws into this buffer. Copies of it follow Qt's
    // copy-on-write: painting on a copy that shares its data with another QImage gives it pixels of its own.
    QImage image() const;

private:
    cairo_surface_t* surface_ = nullptr;
};

} // namespace pt
