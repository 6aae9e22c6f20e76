#include "browser/cache/SVGThumbnailRenderer.h"

#include "browser/cache/PTImageCacheJob.h"
#include "svg/PTSVG.h"

QImage renderSVGThumbnail(const PTImageCacheJob& job)
{
    // Parsed afresh: a thumbnail is made once and then cached as an image.
    auto parsed = PTSVG::svgWithFile(job.path, false);
    if (!parsed)
        return {};
    PTSVG& svg = *parsed.value();
    const std::vector<QColor> colors = job.color.isValid() ? svg.visibleColors() : std::vector<QColor>();
    if (colors.size() == 1)
        svg.replaceColor(colors.front(), job.color);
    else if (!job.replacementColors.isEmpty())
        svg.setReplacementColors(job.replacementColors);
    return drawSVGThumbnail(svg, job.pixelSize, job.scale);
}

QImage drawSVGThumbnail(PTSVG& svg, QSize pixelSize, qreal scale)
{
    svg.setRenderingBackingScaleHelper([scale] { return scale; });
    pt::Error error;
    QImage image = svg.imageWithSize(pixelSize, false, &error);
    if (!error.isNull() || image.isNull())
        return {};
    image.setDevicePixelRatio(scale);
    return image;
}
