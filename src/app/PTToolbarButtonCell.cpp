#include "app/PTToolbarButtonCell.h"

#include "foundation/ColorPrivate.h"
#include "foundation/DrawingAdditions.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QPainter>

#include <cmath>

QColor PTToolbarButtonCell::inkColor(bool highlighted)
{
    if (highlighted)
        return PTStyles::defaultBlue();
    return PTThemeIsAppearance(PTAppearanceDark) ? PTStyles::defaultDarkModeWhite()
                                                 : colorPrivate::colorFromHEX(0x595959, 1);
}

void PTToolbarButtonCell::drawInterior(QPainter& painter, const QRectF& cellFrame, const QImage& icon, bool highlighted)
{
    if (icon.isNull())
        return;
    const QSizeF size = icon.deviceIndependentSize();
    const QPointF origin(cellFrame.x() + std::ceil(cellFrame.width() / 2 - size.width() / 2),
                         cellFrame.y() + std::ceil(cellFrame.height() / 2 - size.height() / 2));
    painter.drawImage(origin, DrawingAdditions::colorizeAlphaWithColor(icon, inkColor(highlighted)));
}
