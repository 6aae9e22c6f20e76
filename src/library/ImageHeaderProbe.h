#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QString>

class QIODevice;

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

// One picture of an ICO file as its own header tells it: the directory's sides stop at 256, while a PNG inside
// may be of any size. The size is empty when the picture's header cannot be read.
struct IcoPicture {
    QSize size;
    qint64 offset = 0;
    qint64 length = 0;
    bool png = false;
};
// The pictures of an ICO file in directory order, reading each one's header and no more; none when the file
// does not start as an ICO.
QList<IcoPicture> icoPictures(QIODevice& file);

// The bytes the probes need from the start of a file.
constexpr qint64 HeadSize = 64;
QByteArray readHead(const QString& path);

} // namespace imageHeaderProbe
