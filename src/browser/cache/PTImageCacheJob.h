#pragma once

#include "browser/cache/PTImageCacheOptions.h"

#include <QString>

class PTItem;

// Everything one thumbnail rendering needs, as plain values taken on the main thread, so that a worker never
// reads an item, its set or a window.
struct PTImageCacheJob {
    QString path;
    // PTItem's type numbering.
    qint64 type = -1;
    // The target in pixels and the pixels per point the image is marked with.
    QSize pixelSize;
    qreal scale = 1;
    QColor color;
    QHash<QRgb, QColor> replacementColors;
    bool allowEnlarge = true;

    // The item's file, type and the options' size, scale and colours. Main thread: reads the item and its set.
    // A path that would leave the set's folder is left empty, so the job renders the failure image.
    static PTImageCacheJob forItem(const PTItem& item, const PTImageCacheOptions& options);
    // A file of that type at the options' size.
    static PTImageCacheJob forFile(const QString& path, qint64 type, const PTImageCacheOptions& options);
};
