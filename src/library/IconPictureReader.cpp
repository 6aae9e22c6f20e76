#include "library/IconPictureReader.h"

#include "library/ImageHeaderProbe.h"
#include "library/entities/PTItem.h"
#include "platform/graphics/ImageFileReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>

namespace iconPictureReader {

namespace {

bool exceeds(QSize size, qint64 maximumPixels)
{
    return qint64(size.width()) * size.height() > maximumPixels;
}

QList<imageHeaderProbe::IcoPicture> icoPictures(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? imageHeaderProbe::icoPictures(file) : QList<imageHeaderProbe::IcoPicture>();
}

QList<QSize> sizesOf(const QList<imageHeaderProbe::IcoPicture>& pictures)
{
    QList<QSize> sizes;
    for (const imageHeaderProbe::IcoPicture& picture : pictures)
        sizes.append(picture.size);
    return sizes;
}

// An ICNS picture's size from its element type, which the reader tells without decoding.
QList<QSize> icnsSizes(const QString& path)
{
    pt::ImageFileReader file(path);
    QImageReader& reader = file.reader();
    QList<QSize> sizes;
    for (int index = 0; index < reader.imageCount() && reader.jumpToImage(index); ++index) {
        const std::optional<imageHeaderProbe::IcnsGeometry> geometry = imageHeaderProbe::icnsGeometry(reader.subType());
        const int side = geometry ? geometry->points * geometry->scale : 0;
        sizes.append(QSize(side, side));
    }
    return sizes;
}

// A PNG inside an ICO, read on its own so that it can be read scaled down.
QImage readIcoPNG(const QString& path, const imageHeaderProbe::IcoPicture& picture, QSize output,
                  qint64 maximumPixels)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(picture.offset))
        return {};
    QByteArray bytes = file.read(picture.length);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    return readFitting(reader, output, maximumPixels);
}

} // namespace

QList<QSize> pictureSizes(const QString& path, qint64 type)
{
    return type == PTItem::ICNS ? icnsSizes(path) : type == PTItem::ICO ? sizesOf(icoPictures(path)) : QList<QSize>();
}

int nearestPicture(const QList<QSize>& sizes, QSize target, qint64 maximumPixels)
{
    int covering = -1, largest = -1;
    qint64 coveringArea = 0, largestArea = 0;
    for (int index = 0; index < sizes.size(); ++index) {
        const QSize size = sizes[index];
        if (size.isEmpty() || exceeds(size, maximumPixels))
            continue;
        const qint64 area = qint64(size.width()) * size.height();
        if (size.width() >= target.width() && size.height() >= target.height()
            && (covering < 0 || area < coveringArea)) {
            covering = index;
            coveringArea = area;
        }
        if (largest < 0 || area > largestArea) {
            largest = index;
            largestArea = area;
        }
    }
    return covering >= 0 ? covering : largest;
}

QImage readFitting(QImageReader& reader, QSize output, qint64 maximumPixels)
{
    const QSize size = reader.size();
    if (size.isValid() && exceeds(size, maximumPixels))
        return {};
    if (size.isValid() && !output.isEmpty() && (size.width() > output.width() || size.height() > output.height())
        && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(size.scaled(output, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

QImage readNearestPicture(const QString& path, qint64 type, QSize target, QSize output, qint64 maximumPixels)
{
    const QList<imageHeaderProbe::IcoPicture> ico = type == PTItem::ICO ? icoPictures(path)
                                                                         : QList<imageHeaderProbe::IcoPicture>();
    const QList<QSize> sizes = type == PTItem::ICO ? sizesOf(ico) : pictureSizes(path, type);
    const int chosen = nearestPicture(sizes, target, maximumPixels);
    if (chosen < 0 && std::any_of(sizes.begin(), sizes.end(), [](QSize size) { return !size.isEmpty(); }))
        return {}; // every picture is too large
    if (chosen >= 0 && chosen < ico.size() && ico[chosen].png)
        return readIcoPNG(path, ico[chosen], output, maximumPixels);
    pt::ImageFileReader file(path);
    QImageReader& reader = file.reader();
    if (chosen > 0 && !reader.jumpToImage(chosen))
        return {};
    return readFitting(reader, output, maximumPixels);
}

} // namespace iconPictureReader
