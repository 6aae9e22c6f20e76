#include "ui/colour/PTColourWellControlCell.h"

#include "ui/colour/PTColourWellControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QPainter>

QRectF PTColourWellControlCell::colorRect(const QRectF& frame, bool inToolbar, qreal colorInset)
{
    const QRectF cell = inToolbar ? frame.adjusted(-1, -1, 1, 2) : frame;
    return cell.adjusted(colorInset, colorInset, -colorInset, -colorInset);
}

void PTColourWellControlCell::drawOverlayingTextures(QPainter& painter, const QRectF& frame,
                                                     const PTToolbarSegmentedControl& control)
{
    const auto* well = qobject_cast<const PTColourWellControl*>(&control);
    if (!well)
        return;
    PTColourPickerController::SwatchLook look;
    look.radius = well->borderRadius() - 1;
    look.noneBackground = PTThemeIsAppearance(0) ? PTStyles::sidebarBackgroundColor() : QColor(Qt::white);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    PTColourPickerController::drawSwatch(painter, colorRect(frame, well->isInToolbar(), well->colorInset()),
                                         well->color(), look);
    painter.restore();
}
