#include "ui/controls/PTSheetFieldLook.h"

#include "ui/theme/PTStyles.h"

#include "foundation/MCAdditions.h"

#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace {

constexpr qreal DisabledAlpha = 0.6;

} // namespace

PTSheetFieldLook::PTSheetFieldLook() : strokeColor(PTStyles::defaultControlFieldStrokeColor())
{
    setBorderRadius(PTStyles::defaultControlBorderRadius());
}

void PTSheetFieldLook::setBorderRadius(qreal radius)
{
    topLeftBorderRadius = topRightBorderRadius = bottomLeftBorderRadius = bottomRightBorderRadius = radius;
}

void PTSheetFieldLook::updateAppearance(QPalette& palette)
{
    strokeColor = PTStyles::defaultControlFieldStrokeColor();
    QColor text = PTStyles::defaultControlTextColor();
    palette.setColor(QPalette::Active, QPalette::Text, text);
    palette.setColor(QPalette::Inactive, QPalette::Text, text);
    text.setAlphaF(text.alphaF() * DisabledAlpha);
    palette.setColor(QPalette::Disabled, QPalette::Text, text);
    palette.setColor(QPalette::Base, Qt::transparent);
}

QRectF PTSheetFieldLook::drawingRectForBounds(const QRectF& bounds) const
{
    return QRectF(labelPadding - 2, 5, bounds.width() - labelPadding, 17);
}

void PTSheetFieldLook::draw(QPainter& painter, const QRectF& frame, bool editing, bool enabled) const
{
    const QRectF body(frame.x(), frame.y(), frame.width(), frame.height() - 1);
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(
        body, topLeftBorderRadius, topRightBorderRadius, bottomLeftBorderRadius, bottomRightBorderRadius);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(path, PTStyles::defaultControlFieldColor());
    if (!enabled)
        painter.setOpacity(DisabledAlpha);
    if (editing)
        painter.fillPath(path, PTStyles::defaultControlFocusedBackgroundColor());
    const QColor stroke = editing ? PTStyles::defaultControlFocusedStrokeColor() : strokeColor;
    if (stroke.isValid()) {
        painter.setPen(QPen(stroke, 1));
        MCAdditions::strokeInside(painter, path);
    }
    painter.restore();
}
