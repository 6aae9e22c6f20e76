#include "browser/grid/PTGridViewImageCell.h"

#include "browser/grid/PTGridView.h"
#include "browser/grid/PTGridViewImageCellBadge.h"
#include "foundation/ColorPrivate.h"
#include "foundation/DifferentStuff.h"
#include "library/entities/PTItem.h"
#include "platform/runtime/Defaults.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/theme/PTStyles.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int InvalidRed = 0xDA3247;
constexpr qreal BorderWidth = 2.0;
constexpr qreal CornerRadius = 3.0;

PTGridView* gridOf(const PTGridViewCell& cell)
{
    return qobject_cast<PTGridView*>(cell.controller());
}

} // namespace

QSizeF PTGridViewImageCell::sizeFromProposedSize(const QSizeF& size, const PTGridViewDrawingState& state)
{
    const qreal side = std::max(size.width() + 20, size.height() + (state.showLabels ? 40 : 20));
    return {side, side};
}

PTGridViewImageCell::PTGridViewImageCell(PTImageCache& cache)
    : PTGridViewCell(ReuseIdentifier)
    , cache_(cache)
{
    pt::Defaults::standard().registerDefaults({{PTPreferenceKeys::DarkModeAutoColorIcons, true}});
    setRespondsToFirstResponderRedraw(true);
}

PTGridViewImageCell::~PTGridViewImageCell()
{
    cancelLoadingOperations();
    PTGridViewImageCellBadge::shared().removeFromCell(this);
}

void PTGridViewImageCell::setItem(PTItem* item)
{
    cancelLoadingOperations();
    image_ = QPixmap();
    invalid_ = false;
    item_ = item;
    itemID_ = item ? item->objectID() : pt::store::ObjectID();
    title_ = item ? item->name() : QString();
    drawStateDidUpdate();
}

void PTGridViewImageCell::setInvalid(bool invalid)
{
    if (invalid == invalid_)
        return;
    invalid_ = invalid;
    drawStateDidUpdate();
}

void PTGridViewImageCell::cancelLoadingOperations()
{
    if (load_->requestID)
        cache_.cancelProcessID(load_->requestID);
    load_->requestID = 0;
    ++load_->generation;
}

PTImageCacheOptions PTGridViewImageCell::imageCacheOptions() const
{
    PTImageCacheOptions options;
    options.size = imageSize();
    options.scale = devicePixelRatio();
    if (drawState().appearance == 0
        && pt::Defaults::standard().boolForKey(PTPreferenceKeys::DarkModeAutoColorIcons))
        options.color = PTStyles::defaultDarkModeWhite();
    return options;
}

QRectF PTGridViewImageCell::drawingRect() const
{
    const qreal width = frame().width();
    const QRectF square = drawState().showLabels ? QRectF(20, 10, width - 40, width - 40)
                                                 : QRectF(10, 10, width - 20, width - 20);
    return square.toAlignedRect();
}

QRectF PTGridViewImageCell::titleRect(const QRectF& rect) const
{
    return QRectF(10, rect.height() - 20, rect.width() - 20, 12).toAlignedRect();
}

void PTGridViewImageCell::clear()
{
    setItem(nullptr);
    PTGridViewCell::clear();
}

void PTGridViewImageCell::metaDidUpdate()
{
    color_ = meta().value(QStringLiteral("color")).value<QColor>();
}

void PTGridViewImageCell::setDragging(bool dragging)
{
    PTGridViewCell::setDragging(dragging);
    PTGridViewImageCellBadge::shared().removeFromCell(this);
}

void PTGridViewImageCell::setWantsUpdate(bool wantsUpdate)
{
    PTGridViewCell::setWantsUpdate(wantsUpdate);
    if (wantsUpdate) {
        title_ = item_ ? item_->name() : QString();
        image_ = QPixmap();
        drawStateDidUpdate();
    }
    updateHighlightedState();
}

void PTGridViewImageCell::mouseEntered(QMouseEvent* /*event*/, const QPointF& /*point*/)
{
    PTGridViewImageCellBadge& badge = PTGridViewImageCellBadge::shared();
    badge.setLabel(invalid_ ? InvalidBadge : item_ ? item_->typeString() : QString());
    badge.setOwner(this);
    redisplay();
}

void PTGridViewImageCell::mouseExited(QMouseEvent* /*event*/, const QPointF& /*point*/)
{
    PTGridViewImageCellBadge& badge = PTGridViewImageCellBadge::shared();
    PTGridViewCell* owner = badge.owner();
    badge.setOwner(nullptr);
    if (owner)
        owner->setNeedsDisplay();
    redisplay();
}

void PTGridViewImageCell::drawStateDidUpdate()
{
    PTGridViewCell::drawStateDidUpdate();
    PTGridViewImageCellBadge::shared().setDrawState(drawState());
    setNeedsDisplay();
}

void PTGridViewImageCell::didEnqueue()
{
    cancelLoadingOperations();
    invalid_ = false;
    image_ = QPixmap();
    item_ = nullptr;
    itemID_ = pt::store::ObjectID();
    title_.clear();
    PTGridViewImageCellBadge::shared().removeFromCell(this);
    PTGridViewCell::didEnqueue();
}

void PTGridViewImageCell::didExitLiveGridResize()
{
    PTGridViewCell::didExitLiveGridResize();
    willDisplayCell(false);
}

void PTGridViewImageCell::prepareForScreenChange(qreal devicePixelRatio)
{
    PTGridViewCell::prepareForScreenChange(devicePixelRatio);
    willDisplayCell(false);
}

void PTGridViewImageCell::willDisplayCell(bool reused)
{
    PTGridViewCell::willDisplayCell(reused);
    if (reused || !item_)
        return;
    const PTGridView* grid = gridOf(*this);
    if (grid && (grid->inNativeLiveResize() || grid->liveGridResize()) && !image_.isNull())
        return;
    cancelLoadingOperations();
    const quint64 generation = load_->generation;
    const pt::store::ObjectID itemID = itemID_;
    load_->requestID = cache_.imageForItem(
        item_, imageCacheOptions(),
        [this, token = std::weak_ptr<LoadToken>(load_), generation, itemID](const QImage& image,
                                                                            PTImageCache::RequestID requestID,
                                                                            bool invalid) {
            const std::shared_ptr<LoadToken> load = token.lock();
            if (!load || load->generation != generation || itemID_ != itemID)
                return;
            if (load->requestID && load->requestID != requestID)
                return;
            receive(image, invalid);
        });
}

void PTGridViewImageCell::receive(const QImage& image, bool invalid)
{
    setInvalid(invalid);
    image_ = QPixmap::fromImage(image);
    load_->requestID = 0;
    if (!isEnqueued())
        redisplay();
}

void PTGridViewImageCell::redisplay()
{
    setNeedsDisplay();
    if (PTGridView* grid = gridOf(*this))
        grid->viewport()->update();
}

void PTGridViewImageCell::responderDidChange()
{
    updateHighlightedState();
}

bool PTGridViewImageCell::gridHasFocus() const
{
    const PTGridView* grid = gridOf(*this);
    return grid && grid->hasFocus();
}

QColor PTGridViewImageCell::borderColor() const
{
    const bool aqua = drawState().appearance != 0;
    if (gridHasFocus())
        return invalid_ ? PTColorFromHEX(InvalidRed, 1.0) : PTStyles::defaultBlue();
    return PTColorFromHEX(invalid_ ? 0xD9757D : aqua ? 0x888888 : 0x363F44, 1.0);
}

void PTGridViewImageCell::drawCellInRect(QPainter& painter, const QRectF& rect)
{
    const PTGridViewDrawingState& state = drawState();
    const bool aqua = state.appearance != 0;
    if (state.showGrid) {
        QPainterPath square;
        square.addRoundedRect(rect, CornerRadius, CornerRadius);
        painter.fillPath(square, PTColorFromHEX(aqua ? 0xFAFAFA : 0x242424, 1.0));
    }
    if (!image_.isNull())
        drawImage(painter, drawingRect());
    if (state.showLabels)
        drawTitle(painter, rect);
    if (highlighted()) {
        QPainterPath border;
        const qreal inset = BorderWidth / 2;
        border.addRoundedRect(rect.adjusted(inset, inset, -inset, -inset), CornerRadius - inset, CornerRadius - inset);
        painter.strokePath(border, QPen(borderColor(), BorderWidth));
    }
    PTGridViewImageCellBadge& badge = PTGridViewImageCellBadge::shared();
    if (badge.owner() == this)
        badge.draw(painter, QPointF(5, 5));
}

void PTGridViewImageCell::drawImage(QPainter& painter, const QRectF& rect)
{
    // Bitmaps are never drawn larger than one point per pixel of the screen; vectors fill the square. A file of
    // several pictures is drawn from the one nearest the size, which may be larger than the first picture whose
    // size the item records, and is never enlarged: its own pixels are the limit.
    QSizeF maxSize;
    if (item_ && item_->type() != PTItem::SVG && !invalid_ && devicePixelRatio() > 0) {
        const bool pictures = item_->type() == PTItem::ICO || item_->type() == PTItem::ICNS;
        const QSizeF pixels = pictures ? QSizeF(image_.size()) : QSizeF(item_->width(), item_->height());
        maxSize = QSizeF(std::floor(static_cast<float>(pixels.width()) / devicePixelRatio()),
                         std::floor(static_cast<float>(pixels.height()) / devicePixelRatio()));
    }
    if (!color_.isValid()) {
        differentStuff::drawProportionallyInRect(painter, image_, rect, maxSize);
        return;
    }
    // Only the drawn pixels take the tint, at full strength; the tint's own alpha fades the result.
    QImage offscreen((rect.size() * devicePixelRatio()).toSize(), QImage::Format_ARGB32_Premultiplied);
    offscreen.setDevicePixelRatio(devicePixelRatio());
    offscreen.fill(Qt::transparent);
    {
        QPainter tint(&offscreen);
        differentStuff::drawProportionallyInRect(tint, image_, QRectF(QPointF(0, 0), rect.size()), maxSize);
        tint.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        QColor opaque = color_;
        opaque.setAlphaF(1.0);
        tint.fillRect(QRectF(QPointF(0, 0), rect.size()), opaque);
    }
    painter.save();
    painter.setOpacity(painter.opacity() * color_.alphaF());
    painter.drawImage(rect.topLeft(), offscreen);
    painter.restore();
}

void PTGridViewImageCell::drawTitle(QPainter& painter, const QRectF& rect)
{
    const PTGridViewDrawingState& state = drawState();
    const QColor color = invalid_ ? PTColorFromHEX(InvalidRed, 1.0)
        : state.appearance != 0   ? PTStyles::tintColor()
                                  : PTStyles::defaultDarkModeWhite();
    const QString text = invalid_ ? InvalidTitle : title_.isEmpty() ? UnknownTitle : title_;
    const QRectF band = titleRect(rect);
    const QFont font = PTStyles::systemFont(9);
    const QFontMetricsF metrics(font);
    const QString elided = metrics.elidedText(text, Qt::ElideRight, band.width());
    const qreal width = metrics.horizontalAdvance(elided);
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    const qreal x = band.x() + std::ceil(static_cast<float>(band.width() / 2 - width / 2));
    painter.drawText(QRectF(x, band.y(), width + 1, band.height()), Qt::AlignLeft | Qt::AlignVCenter, elided);
    painter.restore();
}
