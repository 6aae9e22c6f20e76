#pragma once

#include "platform/runtime/Error.h"

#include <QByteArray>
#include <QImage>

// WebP files to images and back, over libwebp. Both directions keep no state and run on any thread.
namespace WebP {

inline const QString ErrorDomain = QStringLiteral("com.webp.image.error");
constexpr qint64 ErrorCode = -1;

// The image redrawn with one pixel per point (its size in device-independent pixels, each side truncated),
// 8-bit RGBA with premultiplied alpha; a null image when that size is below one pixel.
QImage webPUnscaledBitmapImageRepresentation(const QImage& image);

// The WebP file of the image redrawn at its point size. preset is libwebp's WebPPreset (0 the default) and
// quality libwebp's 0 to 100. On failure an empty array, with *error set when given.
QByteArray webPRepresentationWithPreset(const QImage& image, int preset, float quality, pt::Error* error = nullptr);

// webPRepresentationWithPreset with the default preset and quality 1 (of 100): a small, lossy file.
QByteArray webPRepresentation(const QImage& image, pt::Error* error = nullptr);

// The decoded picture as RGBA with straight alpha, one point per pixel. Empty data and data that does not start
// with a WebP header answer a null image and leave *error alone; a header that reads but whose picture does
// not decode answers a null image and sets *error when given.
QImage imageWithWebPData(const QByteArray& data, pt::Error* error = nullptr);

} // namespace WebP
