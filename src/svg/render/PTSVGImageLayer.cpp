#include "svg/render/PTSVGImageLayer.h"

PTSVGImageLayer::PTSVGImageLayer(const QImage& image)
{
    // Converted once here, so that drawing never converts it again.
    setContents(image.format() == QImage::Format_ARGB32_Premultiplied
                    ? image
                    : image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    setRequiresBackingScaleHelp(true);
    setFrame(QRectF(0, 0, image.width(), image.height()));
}
