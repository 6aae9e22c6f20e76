#include "ui/PTApplicationIcon.h"

#include "svg/PTSVG.h"

#include <QPixmap>

namespace PTApplicationIcon {

QImage image(int size)
{
    const std::shared_ptr<PTSVG> svg = PTSVG::svgNamed(QStringLiteral("com.pictern.Pictern.svg"));
    return svg ? svg->imageWithSize(QSize(size, size), false, nullptr) : QImage();
}

QIcon icon()
{
    QIcon icon;
    for (int size : {16, 32, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(image(size)));
    return icon;
}

} // namespace PTApplicationIcon
