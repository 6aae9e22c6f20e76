#include "sidebar/inspector/PTIconSideBarColorWellCell.h"

#include "foundation/MCAdditions.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/theme/PTStyles.h"

#include <QPainter>
#include <QPainterPath>

void PTIconSideBarColorWellCell::drawOverlayingTextures(QPainter& painter, const QRectF& frame,
                                                        const PTToolbarSegmentedControl& control)
{
    const QPainterPath body = MCAdditions::bezierPathWithRoundRect(frame, 0, PTStyles::defaultControlBorderRadius(), 0, 0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(body, PTStyles::defaultControlFieldColor());
    painter.restore();
    painter.save();
    const QColor stroke = control.strokeColor().isValid() ? control.strokeColor()
                                                          : PTStyles::defaultControlFieldStrokeColor();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(stroke, 1));
    MCAdditions::strokeInside(painter, body);
    painter.restore();
    PTColourWellControlCell::drawOverlayingTextures(painter, frame, control);
}
