#pragma once

#include <QImage>

struct PTImageCacheJob;

// The first page of the job's PDF file scaled to fit its pixels (up or down; at the page's own size when the
// job does not allow enlarging), on a transparent ground. Null when the file has no page to draw.
QImage renderPDFThumbnail(const PTImageCacheJob& job);
