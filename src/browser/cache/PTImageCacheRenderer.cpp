#include "browser/cache/PTImageCacheRenderer.h"

#include "browser/cache/BitmapThumbnailRenderer.h"
#include "browser/cache/PDFThumbnailRenderer.h"
#include "browser/cache/SVGThumbnailRenderer.h"
#include "library/entities/PTItem.h"
#include "svg/PTSVG.h"

namespace {

// Beyond what any screen shows of one icon; a larger request is drawn at this size.
constexpr int MaximumSide = 8192;

QImage renderFile(const PTImageCacheJob& job)
{
    switch (job.type) {
    case PTItem::SVG:
        return renderSVGThumbnail(job);
    case PTItem::PDF:
        return renderPDFThumbnail(job);
    case 8: // an item with no file of its own
        return {};
    default:
        return renderBitmapThumbnail(job);
    }
}

} // namespace

PTImageCacheRendering PTImageCacheRenderer::render(const PTImageCacheJob& job)
{
    PTImageCacheJob bounded = job;
    bounded.pixelSize = job.pixelSize.boundedTo(QSize(MaximumSide, MaximumSide)).expandedTo(QSize(1, 1));
    if (QImage image = renderFile(bounded); !image.isNull())
        return {image, false};
    return {failureImage(bounded.pixelSize, bounded.scale), true};
}

QImage PTImageCacheRenderer::failureImage(QSize pixelSize, qreal scale)
{
    const std::shared_ptr<PTSVG> svg = PTSVG::svgNamed(QString::fromLatin1(FailureImageName), false);
    if (!svg || pixelSize.isEmpty())
        return {};
    return drawSVGThumbnail(*svg, pixelSize, scale);
}
