#pragma once

#include <QByteArray>
#include <QImage>

// GIF files through giflib with a palette of our own: up to 255 colours the palette is exact; beyond that it
// comes from a median cut, without dithering. Pixels under half opacity become the transparent index. Runs on
// any thread.
namespace PTGIFEncoder {

// Empty for a null image or when giflib fails.
QByteArray GIFData(const QImage& image);

} // namespace PTGIFEncoder
