#include "browser/cache/BitmapThumbnailRenderer.h"

#include "browser/cache/PTImageCacheJob.h"
#include "foundation/WebP.h"
#include "library/entities/PTItem.h"

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

bool fits(QSize size, QSize target)
{
    return size.width() >= target.width() && size.height() >= target.height();
}

// Whether a picture of that size serves the target better than the best so far: the smallest that covers the
// target, else the largest.
bool betterPicture(QSize size, QSize best, QSize target)
{
    const qint64 area = qint64(size.width()) * size.height();
    const qint64 bestArea = qint64(best.width()) * best.height();
    if (!best.isValid())
        return true;
    if (fits(size, target))
        return !fits(best, target) || area < bestArea;
    return !fits(best, target) && area > bestArea;
}

// Leaves the reader at the picture that serves the target best. Pictures whose size the reader cannot tell
// without decoding (ICNS) are decoded; the best of those is answered, so it is not decoded twice.
QImage jumpToBestPicture(QImageReader& reader, QSize target)
{
    const int count = reader.imageCount();
    int best = 0;
    QSize bestSize;
    QImage bestDecoded;
    for (int index = 0; index < count; ++index) {
        if (!reader.jumpToImage(index))
            continue;
        QSize size = reader.size();
        QImage decoded;
        if (!size.isValid()) {
            decoded = reader.read();
            size = decoded.size();
        }
        if (size.isEmpty() || claimsTooMuch(size) || !betterPicture(size, bestSize, target))
            continue;
        best = index;
        bestSize = size;
        bestDecoded = decoded;
    }
    reader.jumpToImage(best);
    return bestDecoded;
}

QSize shrunk(QSize size, QSize target, bool allowEnlarge)
{
    if (!allowEnlarge || target.isEmpty() || (size.width() <= target.width() && size.height() <= target.height()))
        return size;
    return size.scaled(target, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

QImage readWebP(const PTImageCacheJob& job)
{
    QFile file(job.path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaximumWebPBytes)
        return {};
    const QImage image = WebP::imageWithWebPData(file.readAll());
    if (image.isNull())
        return {};
    const QSize size = shrunk(image.size(), job.pixelSize, job.allowEnlarge);
    return size == image.size() ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage readWithImageReader(const PTImageCacheJob& job)
{
    QImageReader reader(job.path);
    reader.setDecideFormatFromContent(true);
    QImage image;
    if (job.type == PTItem::ICO || job.type == PTItem::ICNS)
        image = jumpToBestPicture(reader, job.pixelSize);
    const QSize size = image.isNull() ? reader.size() : QSize();
    if (size.isValid()) {
        if (claimsTooMuch(size))
            return {};
        const QSize target = shrunk(size, job.pixelSize, job.allowEnlarge);
        if (target != size)
            reader.setScaledSize(target);
    }
    if (image.isNull())
        image = reader.read();
    // A picture whose size the reader could not tell first still only shrinks.
    if (!image.isNull() && !size.isValid()) {
        const QSize target = shrunk(image.size(), job.pixelSize, job.allowEnlarge);
        if (target != image.size())
            image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return image;
}

} // namespace

QImage renderBitmapThumbnail(const PTImageCacheJob& job)
{
    if (job.path.isEmpty())
        return {};
    QImage image = job.type == PTItem::WEBP ? readWebP(job) : readWithImageReader(job);
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(job.scale);
    return image;
}
