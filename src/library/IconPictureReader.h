#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

class QImageReader;

// One picture of a file that holds several (ICO, ICNS), chosen by the sizes the pictures' own headers tell, so
// that no picture is decoded to be measured and none far larger than needed is decoded to be drawn.
namespace iconPictureReader {

// The sizes of the file's pictures in the image reader's order. A size is empty where it cannot be told without
// decoding. An ICO's directory says 256 for any larger PNG inside, so each picture's own header is read.
QList<QSize> pictureSizes(const QString& path, qint64 type);

// The index of the smallest picture covering the target, else of the largest; pictures of unknown sizes or of
// more than the maximum of pixels never count. -1 when none counts.
int nearestPicture(const QList<QSize>& sizes, QSize target, qint64 maximumPixels);

// The reader's picture, refused when its header claims more than the maximum of pixels, and decoded scaled down
// to fit the output where its format can (PNG, JPEG). Qt's allocation limit stays in force for the rest, since
// a header may understate what decoding takes.
QImage readFitting(QImageReader& reader, QSize output, qint64 maximumPixels);

// The nearest picture to the target, read fitting the output (an empty output keeps its own size). Without a
// picture of known size the reader's first picture is read. Null when the file does not decode.
QImage readNearestPicture(const QString& path, qint64 type, QSize target, QSize output, qint64 maximumPixels);

} // namespace iconPictureReader
