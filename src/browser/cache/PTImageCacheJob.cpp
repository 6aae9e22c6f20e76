#include "browser/cache/PTImageCacheJob.h"

#include "library/entities/PTItem.h"

PTImageCacheJob PTImageCacheJob::forItem(const PTItem& item, const PTImageCacheOptions& options)
{
    return forFile(item.fileURL().toLocalFile(), item.type(), options);
}

PTImageCacheJob PTImageCacheJob::forFile(const QString& path, qint64 type, const PTImageCacheOptions& options)
{
    PTImageCacheJob job;
    job.path = path;
    job.type = type;
    job.pixelSize = options.pixelSize();
    job.scale = options.scale;
    job.color = options.color;
    job.replacementColors = options.replacementColors.value_or(QHash<QRgb, QColor>());
    job.allowEnlarge = options.allowEnlarge;
    return job;
}
