#include "browser/grid/PTGridViewSectionCell.h"

#include "browser/grid/GridBackdrop.h"
#include "browser/grid/PTGridView.h"
#include "foundation/ColorPrivate.h"
#include "ui/theme/PTStyles.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr qreal BackgroundOpacity = 0.7;
// The blur's radius in device pixels, at the backdrop's scale: three box passes of it make a Gaussian of
// deviation about 30 device pixels.
constexpr int BlurRadius = 7;

} // namespace

PTGridViewSectionCell::PTGridViewSectionCell(QString reuseIdentifier)
    : PTGridViewCell(std::move(reuseIdentifier))
{
    applyAppearance();
}

bool PTGridViewSectionCell::mouseDown(QMouseEvent* /*event*/, const QPointF& /*point*/)
{
    return false;
}

void PTGridViewSectionCell::drawStateDidUpdate()
{
    PTGridViewCell::drawStateDidUpdate();
    applyAppearance();
}

void PTGridViewSectionCell::applyAppearance()
{
    const int appearance = static_cast<int>(drawState().appearance);
    if (appearance != 0) {
        saturation_ = 10.0;
        backgroundColor_ = QColor(Qt::white);
        borderColor_ = colorPrivate::colorFromHEX(0xD9DDE0, 1);
    } else {
        saturation_ = 1.8;
        backgroundColor_ = PTStyles::sectionHeaderColorForAppearance(appearance);
        borderColor_ = colorPrivate::colorFromHEX(0x0E1118, 1);
    }
    setNeedsDisplay();
}

void PTGridViewSectionCell::setBackdrop(const QImage& content)
{
    backdrop_ = GridBackdrop::saturated(GridBackdrop::boxBlurred(content, BlurRadius), saturation_);
    setNeedsDisplay();
}

void PTGridViewSectionCell::drawCellInRect(QPainter& painter, const QRectF& rect)
{
    painter.save();
    painter.setClipRect(rect);
    if (!backdrop_.isNull()) {
        // The content reaches past the bar by the margin on every side; only the middle shows.
        const qreal margin = GridBackdrop::Margin;
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect.adjusted(-margin, -margin, margin, margin), backdrop_);
    }
    painter.setOpacity(BackgroundOpacity);
    painter.fillRect(rect, backgroundColor_);
    painter.setOpacity(1);
    painter.fillRect(QRectF(rect.x(), rect.y(), rect.width(), 1), borderColor_);
    painter.fillRect(QRectF(rect.x(), rect.bottom() - 1, rect.width(), 1), borderColor_);
    painter.restore();
}

void PTGridViewSectionCell::redisplay()
{
    setNeedsDisplay();
    if (auto* grid = qobject_cast<PTGridView*>(controller()))
        grid->viewport()->update();
}
