#include "browser/grid/PTGridViewSectionPathCell.h"

#include "browser/grid/PTGridView.h"
#include "foundation/ColorPrivate.h"
#include "ui/theme/PTChevron.h"
#include "ui/theme/PTStyles.h"

#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QString Separator = QStringLiteral("\u27E9");
const QString Untitled = QStringLiteral("Untitled");
// A name's highlight and click area reach this far past its text on either side, and above and below.
constexpr qreal HoverOutsetX = 4;
constexpr qreal HoverOutsetY = 2;
constexpr qreal HoverRadius = 3;
constexpr qreal MinimumWidth = 10;

} // namespace

PTGridViewSectionPathCell::PTGridViewSectionPathCell(QString reuseIdentifier)
    : PTGridViewSectionCell(std::move(reuseIdentifier))
    , separator_(Separator)
{
    countLayer_ = layerForString(QStringLiteral("0"), PTStyles::systemFont(int(fontSize_)));
    measure(countLayer_);
    updateColors();
}

PTGridViewSectionPathCell::TextLayer PTGridViewSectionPathCell::layerForString(const QString& string,
                                                                               const QFont& font) const
{
    TextLayer layer;
    layer.string = string.isEmpty() ? Untitled : string;
    layer.font = font;
    layer.separator = layer.string == separator_;
    return layer;
}

void PTGridViewSectionPathCell::setPathComponents(const QStringList& components)
{
    pathComponents_ = components;
    constructLayers();
}

void PTGridViewSectionPathCell::setClickHandler(ClickHandler handler)
{
    clickHandler_ = std::move(handler);
    if (!clickHandler_)
        setHoverRect(QRectF());
}

void PTGridViewSectionPathCell::constructLayers()
{
    QFont bold = PTStyles::systemFont(int(fontSize_));
    bold.setBold(true);
    textLayers_.clear();
    for (qsizetype i = 0; i < pathComponents_.size(); ++i) {
        if (i > 0)
            textLayers_.push_back(layerForString(separator_, bold));
        textLayers_.push_back(layerForString(pathComponents_[i], bold));
    }
    sortedTextLayers_.resize(textLayers_.size());
    for (size_t i = 0; i < sortedTextLayers_.size(); ++i)
        sortedTextLayers_[i] = i;
    std::stable_sort(sortedTextLayers_.begin(), sortedTextLayers_.end(), [this](size_t a, size_t b) {
        return textLayers_[a].string.size() > textLayers_[b].string.size();
    });
    if (!textLayers_.empty()) {
        const auto last = std::find(sortedTextLayers_.begin(), sortedTextLayers_.end(), textLayers_.size() - 1);
        std::rotate(last, last + 1, sortedTextLayers_.end());
    }
    hoverRect_ = QRectF();
    recalculateTextFrames();
    updateColors();
    layoutSublayers();
}

void PTGridViewSectionPathCell::measure(TextLayer& layer) const
{
    const QFontMetricsF metrics(layer.font);
    const qreal height = metrics.lineSpacing() + (layer.separator ? 2 : 0);
    const QString shown = layer.separator ? PTChevron::legible(layer.string, layer.font) : layer.string;
    layer.naturalSize = QSizeF(std::max(MinimumWidth, qreal(std::ceil(float(metrics.horizontalAdvance(shown))))),
                               std::ceil(height));
    layer.frame.setSize(layer.naturalSize);
    layer.shownWidth = -1;
}

void PTGridViewSectionPathCell::recalculateTextFrames()
{
    for (TextLayer& layer : textLayers_)
        measure(layer);
}

void PTGridViewSectionPathCell::drawStateDidUpdate()
{
    PTGridViewSectionCell::drawStateDidUpdate();
    updateColors();
}

void PTGridViewSectionPathCell::updateColors()
{
    QColor strong;
    QColor dim;
    if (drawState().appearance == 1) {
        hoverColor_ = colorPrivate::colorFromHEX(0xD2E6FA, 0.4F);
        strong = colorPrivate::colorFromHEX(0x556068, 1.0F);
        dim = colorPrivate::colorFromHEX(0x556068, 0.5F);
    } else {
        hoverColor_ = colorPrivate::colorFromHEX(0x000000, 0.9F);
        strong = colorPrivate::colorFromHEX(0xFFFFFF, 0.9F);
        dim = colorPrivate::colorFromHEX(0xFFFFFF, 0.5F);
    }
    for (TextLayer& layer : textLayers_)
        layer.color = dim;
    if (!textLayers_.empty())
        textLayers_.back().color = strong;
    countLayer_.color = dim;
    setNeedsDisplay();
}

void PTGridViewSectionPathCell::setCount(qint64 count)
{
    if (count == count_)
        return;
    count_ = count;
    countLayer_.string = QString::number(count);
    measure(countLayer_);
    layoutSublayers();
}

const std::vector<PTGridViewSectionPathCell::TextLayer>& PTGridViewSectionPathCell::textLayers()
{
    ensureLayout();
    return textLayers_;
}

const PTGridViewSectionPathCell::TextLayer& PTGridViewSectionPathCell::countLayer()
{
    ensureLayout();
    return countLayer_;
}

void PTGridViewSectionPathCell::ensureLayout()
{
    setCount(itemCount());
    if (frame().size() != laidOutSize_)
        layoutSublayers();
}

void PTGridViewSectionPathCell::layoutSublayers()
{
    laidOutSize_ = frame().size();
    const qreal width = laidOutSize_.width();
    const qreal middle = std::floor(laidOutSize_.height() / 2);
    qreal x = margin_;
    for (TextLayer& layer : textLayers_) {
        const QSizeF size = layer.naturalSize;
        const qreal y = std::floor(middle - size.height() / 2 + (layer.separator ? 0 : 1));
        layer.frame = QRectF(QPointF(x, y), size);
        x += std::floor(size.width()) + spacing_;
    }
    qreal right = x - spacing_;
    const qreal limit = width - countLayer_.frame.width() - 2 * margin_;
    if (right > limit && width > 0)
        shrink(right, limit);
    x = margin_;
    for (TextLayer& layer : textLayers_) {
        layer.frame.moveLeft(x);
        x += std::floor(layer.frame.width()) + spacing_;
    }
    const QSizeF count = countLayer_.frame.size();
    countLayer_.frame.moveTopLeft(
        QPointF(width - count.width() - margin_, std::floor(middle - count.height() / 2 + 1)));
    setNeedsDisplay();
}

// Narrows the longest strings first, a point per round, until each is down to the next in line; then those
// together with the next, and so on, the last name last. A round that narrows nothing (all at the floor) ends
// it: what does not fit is clipped.
void PTGridViewSectionPathCell::shrink(qreal& right, qreal limit)
{
    std::vector<TextLayer*> working;
    for (size_t i = 0; i < sortedTextLayers_.size(); ++i) {
        working.push_back(&textLayers_[sortedTextLayers_[i]]);
        const qreal next = i + 1 < sortedTextLayers_.size() ? textLayers_[sortedTextLayers_[i + 1]].frame.width() : 0;
        while (working.back()->frame.width() > next) {
            bool shrunk = false;
            for (TextLayer* layer : working) {
                if (layer->frame.width() <= MinimumShrunkWidth)
                    continue;
                layer->frame.setWidth(layer->frame.width() - 1);
                right -= 1;
                shrunk = true;
                if (right < limit)
                    return;
            }
            if (!shrunk)
                break;
        }
    }
}

void PTGridViewSectionPathCell::drawCellInRect(QPainter& painter, const QRectF& rect)
{
    ensureLayout();
    PTGridViewSectionCell::drawCellInRect(painter, rect);
    painter.save();
    painter.setClipRect(rect);
    if (!hoverRect_.isNull()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(hoverColor_);
        painter.drawRoundedRect(hoverRect_, HoverRadius, HoverRadius);
    }
    for (TextLayer& layer : textLayers_)
        draw(painter, layer, Qt::AlignHCenter);
    draw(painter, countLayer_, Qt::AlignRight);
    painter.restore();
}

void PTGridViewSectionPathCell::draw(QPainter& painter, TextLayer& layer, Qt::Alignment alignment)
{
    if (layer.frame.width() != layer.shownWidth) {
        layer.shownWidth = layer.frame.width();
        const QString text = layer.separator
            ? PTChevron::legible(layer.string, layer.font)
            : QFontMetricsF(layer.font).elidedText(layer.string, Qt::ElideMiddle, layer.shownWidth);
        layer.shown.setText(text);
        layer.shown.setTextFormat(Qt::PlainText);
        layer.shown.prepare(QTransform(), layer.font);
    }
    const QSizeF size = layer.shown.size();
    const qreal x = alignment == Qt::AlignRight ? layer.frame.right() - size.width()
                                                : layer.frame.x() + (layer.frame.width() - size.width()) / 2;
    painter.setFont(layer.font);
    painter.setPen(layer.color);
    painter.drawStaticText(QPointF(x, layer.frame.y() + (layer.frame.height() - size.height()) / 2), layer.shown);
}

QRectF PTGridViewSectionPathCell::grown(const QRectF& frame)
{
    return frame.adjusted(-HoverOutsetX, -HoverOutsetY, HoverOutsetX, HoverOutsetY);
}

int PTGridViewSectionPathCell::layerAt(const QPointF& localPoint) const
{
    for (size_t i = 0; i < textLayers_.size(); ++i)
        if (grown(textLayers_[i].frame).contains(localPoint))
            return int(i);
    return -1;
}

void PTGridViewSectionPathCell::setHoverRect(const QRectF& rect)
{
    if (rect == hoverRect_)
        return;
    hoverRect_ = rect;
    redisplay();
}

void PTGridViewSectionPathCell::mouseEntered(QMouseEvent* event, const QPointF& point)
{
    mouseMoved(event, point);
}

void PTGridViewSectionPathCell::mouseMoved(QMouseEvent* /*event*/, const QPointF& point)
{
    if (!clickHandler_) {
        setHoverRect(QRectF());
        return;
    }
    ensureLayout();
    const int index = layerAt(localisePoint(point));
    const bool name = index >= 0 && !textLayers_[size_t(index)].separator;
    setHoverRect(name ? grown(textLayers_[size_t(index)].frame) : QRectF());
}

void PTGridViewSectionPathCell::mouseExited(QMouseEvent* /*event*/, const QPointF& /*point*/)
{
    setHoverRect(QRectF());
}

bool PTGridViewSectionPathCell::mouseDown(QMouseEvent* /*event*/, const QPointF& point)
{
    ensureLayout();
    const int index = layerAt(localisePoint(point));
    if (index < 0 || textLayers_[size_t(index)].separator || !clickHandler_)
        return false;
    // Taken before the handler runs: it may give the header other names.
    const QRectF rect = grown(textLayers_[size_t(index)].frame);
    QAction* selected = nullptr;
    if (QMenu* menu = clickHandler_(index / 2, &selected))
        presentMenu(menu, rect, selected);
    return false;
}

bool PTGridViewSectionPathCell::mouseUp(QMouseEvent* /*event*/, const QPointF& /*point*/)
{
    return false;
}

void PTGridViewSectionPathCell::presentMenu(QMenu* menu, const QRectF& rect, QAction* selectedItem)
{
    auto* grid = qobject_cast<PTGridView*>(controller());
    const QRectF inGrid = delocaliseRect(rect);
    if (!grid || inGrid.isNull())
        return;
    PTStyles::setupMenu(menu);
    const QPointF onScreen = inGrid.topLeft() + QPointF(-17, 1) - QPointF(0, grid->visibleRect().y());
    menu->popup(grid->viewport()->mapToGlobal(onScreen.toPoint()), selectedItem);
}

QString PTGridViewSectionPathCell::tooltipForPoint(const QPointF& point)
{
    ensureLayout();
    for (const TextLayer& layer : textLayers_)
        if (layer.frame.contains(point))
            return layer.separator ? QString() : layer.string;
    return {};
}

QVector<QRectF> PTGridViewSectionPathCell::tooltipRects()
{
    ensureLayout();
    QVector<QRectF> rects;
    rects.reserve(qsizetype(textLayers_.size()));
    for (const TextLayer& layer : textLayers_)
        rects.append(layer.frame);
    return rects;
}
