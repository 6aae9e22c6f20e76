#include "browser/grid/PTGridViewCell.h"

#include <QPainter>
#include <QWidget>

#include <cmath>

PTGridViewCell::PTGridViewCell(QString reuseIdentifier)
    : reuseIdentifier_(std::move(reuseIdentifier))
{
}

PTGridViewCell::~PTGridViewCell() = default;

void PTGridViewCell::setMeta(const QVariantMap& meta)
{
    meta_ = meta;
    metaDidUpdate();
}

void PTGridViewCell::setHighlighted(bool highlighted)
{
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    setNeedsDisplay();
}

void PTGridViewCell::setSticky(bool sticky)
{
    if (sticky == sticky_)
        return;
    sticky_ = sticky;
    prepareSticky(sticky);
    setNeedsDisplay();
}

void PTGridViewCell::setDrawState(const PTGridViewDrawingState& state)
{
    if (state == drawState_)
        return;
    drawState_ = state;
    drawStateDidUpdate();
}

void PTGridViewCell::setFrame(const QRectF& frame)
{
    if (frame.size() != frame_.size())
        needsDisplay_ = true;
    frame_ = frame;
}

QPointF PTGridViewCell::positionForFrame(const QRectF& frame)
{
    const auto half = [](qreal extent) { return static_cast<qreal>(std::floor(static_cast<float>(extent) / 2.0F)); };
    return {frame.x() + half(frame.width()), frame.y() + half(frame.height())};
}

QPointF PTGridViewCell::position() const
{
    return positionForFrame(frame_);
}

void PTGridViewCell::removeFromGrid()
{
    didEndDisplayCell();
    attached_ = false;
}

QRectF PTGridViewCell::delocaliseRect(const QRectF& rect) const
{
    return attached_ ? rect.translated(frame_.topLeft()) : QRectF();
}

void PTGridViewCell::setDevicePixelRatio(qreal ratio)
{
    if (ratio == devicePixelRatio_)
        return;
    devicePixelRatio_ = ratio;
    needsDisplay_ = true;
}

const QImage& PTGridViewCell::backingImage()
{
    if (!needsDisplay_)
        return backing_;
    needsDisplay_ = false;
    const QSize pixels(static_cast<int>(std::ceil(frame_.width() * devicePixelRatio_)),
                       static_cast<int>(std::ceil(frame_.height() * devicePixelRatio_)));
    if (pixels.isEmpty()) {
        backing_ = QImage();
        return backing_;
    }
    if (backing_.size() != pixels)
        backing_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    backing_.setDevicePixelRatio(devicePixelRatio_);
    backing_.fill(Qt::transparent);
    QPainter painter(&backing_);
    painter.setRenderHint(QPainter::Antialiasing);
    drawCellInRect(painter, QRectF(QPointF(0, 0), frame_.size()));
    return backing_;
}

void PTGridViewCell::render(QPainter& painter)
{
    const QImage& image = backingImage();
    if (!image.isNull())
        painter.drawImage(QPointF(0, 0), image);
}

void PTGridViewCell::clear()
{
    backing_ = QImage();
    needsDisplay_ = true;
}

void PTGridViewCell::didEnqueue()
{
    animates_ = true;
    clear();
}

void PTGridViewCell::prepareForReuse()
{
    animates_ = true;
    meta_.clear(); // dropped without metaDidUpdate: the next use sets its own
}

void PTGridViewCell::willDisplayCell(bool /*reused*/)
{
    if (controller_)
        setDevicePixelRatio(controller_->devicePixelRatioF());
}

void PTGridViewCell::prepareForScreenChange(qreal devicePixelRatio)
{
    setDevicePixelRatio(devicePixelRatio);
    setNeedsDisplay();
}
