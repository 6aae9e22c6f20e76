#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <optional>

// Pixel sizes read from the first bytes of image files, decoding nothing: the PNG IHDR chunk, the GIF logical
// screen, the first ICO directory entry, the first image element of an ICNS file, the WebP headers. A file that
// does not start as its kind should answers nothing.
namespace imageHeaderProbe {

std::optional<QSize> pngSize(const QByteArray& head);
std::optional<QSize> gifSize(const QByteArray& head);
std::optional<QSize> icoSize(const QByteArray& head);
std::optional<QSize> icnsSize(const QByteArray& head);
std::optional<QSize> webpSize(const QByteArray& head);

// What an ICNS element type stands for: its side in points and its scale ("ic11" is 16 points at 2x).
struct IcnsGeometry {
    int points = 0;
    int scale = 1;
};
std::optional<IcnsGeometry> icnsGeometry(const QByteArray& type);

// The bytes the probes need from the start of a file.
constexpr qint64 HeadSize = 64;
QByteArray readHead(const QString& path);

} // namespace imageHeaderProbe
