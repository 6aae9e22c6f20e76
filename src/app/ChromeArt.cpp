#include "app/ChromeArt.h"

#include "svg/PTSVG.h"

#include <QWidget>

#include <cmath>

namespace chromeArt {

QImage imageNamed(const QString& name, qreal scale)
{
    const std::shared_ptr<PTSVG> svg = PTSVG::svgNamed(name);
    if (!svg)
        return {};
    const QSizeF points = svg->proposedSize().isEmpty() ? svg->viewBox().size() : svg->proposedSize();
    const QSize pixels(int(std::ceil(points.width() * scale)), int(std::ceil(points.height() * scale)));
    QImage image = svg->imageWithSize(pixels);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage imageNamed(const QString& name, const QWidget* view)
{
    return imageNamed(name, view->devicePixelRatioF());
}

} // namespace chromeArt
