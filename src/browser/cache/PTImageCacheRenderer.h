#pragma once

#include "browser/cache/PTImageCacheJob.h"

#include <QImage>

// What a rendering gives: the image (marked with the job's scale) and whether it is the failure image. The image
// is null only when even the failure image could not be made.
struct PTImageCacheRendering {
    QImage image;
    bool invalid = true;
};

// Draws thumbnails, synchronously, on any thread; keeps no state. By type: SVG documents are drawn fitted into
// the target, tinted when they draw one colour; PDF files show their first page fitted (growing or shrinking);
// WebP and the other bitmaps only shrink to fit (ICO and ICNS pick the smallest picture not below the target).
// Anything that cannot be drawn (missing, truncated, oversized) gives the failure image.
class PTImageCacheRenderer {
public:
    static constexpr auto FailureImageName = "icon-unknown-error";

    static PTImageCacheRendering render(const PTImageCacheJob& job);
    // The failure picture at that many pixels; null when it cannot be drawn.
    static QImage failureImage(QSize pixelSize, qreal scale);
};
