#pragma once

#include "svg/PTSVG.h"

#include <QImage>
#include <QString>

// A Papirus action icon drawn at a size in pixels; null when the icon theme is missing.
inline QImage papirusIcon(const QString& name, int size = 12)
{
    const auto svg = PTSVG::svgWithFile(QStringLiteral("/usr/share/icons/Papirus/16x16/actions/") + name +
                                        QStringLiteral(".svg"));
    return svg ? (*svg)->imageWithSize(QSize(size, size)).copy() : QImage();
}
