#include "svg/PTSVGImageLayer.h"

PTSVGImageLayer::PTSVGImageLayer(const QImage& image)
{
    setContents(image);
    setRequiresBackingScaleHelp(true);
    setFrame(QRectF(0, 0, image.width(), image.height()));
}
