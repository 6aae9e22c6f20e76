#include "browser/cache/BitmapThumbnailRenderer.h"

#include "browser/cache/PTImageCacheJob.h"
#include "foundation/WebP.h"
#include "library/IconPictureReader.h"
#include "library/entities/PTItem.h"
#include "platform/graphics/ImageFileReader.h"

#include <QFile>
#include <QImageReader>

namespace {

// Pictures larger than this are refused from their header, before any pixel is allocated.
constexpr qint64 MaximumPixels = qint64(8192) * 8192;
// A WebP file is read whole; an icon is far smaller.
constexpr qint64 MaximumWebPBytes = qint64(256) << 20;

bool claimsTooMuch(QSize size)
{
    return qint64(size.width()) * size.height() > MaximumPixels;
}

QSize shrunk(QSize size, QSize target, bool allowEnlarge)
{
    if (!allowEnlarge || target.isEmpty() || (size.width() <= target.width() && size.height() <= target.height()))
        return size;
    return size.scaled(target, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// A picture read at its own size, shrunk to the job's pixels when it is larger and the job allows it.
QImage shrunkImage(const QImage& image, const PTImageCacheJob& job)
{
    const QSize size = shrunk(image.size(), job.pixelSize, job.allowEnlarge);
    return size == image.size() ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage readWebP(const PTImageCacheJob& job)
{
    QFile file(job.path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumWebPBytes)
        return {};
    const QImage image = WebP::imageWithWebPData(file.readAll());
    return image.isNull() ? image : shrunkImage(image, job);
}

// The picture nearest the drawn size, decoded fitted into it where its format can.
QImage readIconPicture(const PTImageCacheJob& job)
{
    const QImage image = iconPictureReader::readNearestPicture(
        job.path, job.type, job.pixelSize, job.allowEnlarge ? job.pixelSize : QSize(), MaximumPixels);
    return image.isNull() ? image : shrunkImage(image, job);
}

QImage readWithImageReader(const PTImageCacheJob& job)
{
    pt::ImageFileReader file(job.path);
    QImageReader& reader = file.reader();
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (size.isValid()) {
        if (claimsTooMuch(size))
            return {};
        const QSize target = shrunk(size, job.pixelSize, job.allowEnlarge);
        if (target != size)
            reader.setScaledSize(target);
    }
    const QImage image = reader.read();
    // A picture whose size the reader could not tell first still only shrinks.
    return image.isNull() || size.isValid() ? image : shrunkImage(image, job);
}

} // namespace

QImage renderBitmapThumbnail(const PTImageCacheJob& job)
{
    if (job.path.isEmpty())
        return {};
    QImage image = job.type == PTItem::WEBP                                ? readWebP(job)
                   : job.type == PTItem::ICO || job.type == PTItem::ICNS ? readIconPicture(job)
                                                                           : readWithImageReader(job);
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(job.scale);
    return image;
}
