#include "browser/grid/PTGridViewImageCellBadge.h"

#include "foundation/ColorPrivate.h"
#include "ui/theme/PTStyles.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

PTGridViewImageCellBadge& PTGridViewImageCellBadge::shared()
{
    static PTGridViewImageCellBadge badge;
    return badge;
}

PTGridViewImageCellBadge::PTGridViewImageCellBadge()
    : font_(PTStyles::systemFont(8))
{
    font_.setBold(true);
}

void PTGridViewImageCellBadge::setLabel(const QString& label)
{
    if (label == label_)
        return;
    label_ = label;
    measured_ = false;
}

void PTGridViewImageCellBadge::setDrawState(const PTGridViewDrawingState& state)
{
    drawState_ = state;
}

void PTGridViewImageCellBadge::removeFromCell(const PTGridViewCell* cell)
{
    if (owner_ == cell)
        owner_ = nullptr;
}

QSizeF PTGridViewImageCellBadge::proposedSize()
{
    if (label_.isEmpty())
        return {};
    if (!measured_) {
        const QFontMetricsF metrics(font_);
        labelSize_ = QSizeF(metrics.horizontalAdvance(label_), metrics.ascent() + metrics.descent() + metrics.leading());
        measured_ = true;
    }
    return labelSize_;
}

QSizeF PTGridViewImageCellBadge::size()
{
    const QSizeF measured = proposedSize();
    return {std::ceil(measured.width() + 2 * padding_), std::ceil(measured.height() + 2 * padding_)};
}

void PTGridViewImageCellBadge::draw(QPainter& painter, const QPointF& origin)
{
    if (isHidden() || label_.isEmpty())
        return;
    const bool aqua = drawState_.appearance != 0;
    const QRectF frame(origin, size());
    painter.save();
    QPainterPath background;
    background.addRoundedRect(frame, 2.0, 2.0);
    painter.fillPath(background, PTColorFromHEX(aqua ? 0x32393C : 0xEEEEEE, 1.0));
    painter.setFont(font_);
    painter.setPen(aqua ? Qt::white : Qt::black);
    painter.drawText(QRectF(frame.topLeft() + QPointF(padding_, padding_), proposedSize()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label_);
    painter.restore();
}
