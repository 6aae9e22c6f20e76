#include "ui/controls/PTSheetViewPopupButton.h"

#include "ui/controls/PTControlDrawing.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "foundation/MCAdditions.h"
#include "foundation/MenuAdditions.h"

#include <QAction>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int IconSize = 16;
constexpr qreal ImageX = 5;

// Our pop-up arrow: a small triangle up over a small triangle down, 7 x 9.
void drawPopupArrow(QPainter& painter, const QPointF& origin)
{
    QPainterPath arrow;
    arrow.moveTo(origin + QPointF(0, 3.5));
    arrow.lineTo(origin + QPointF(3.5, 0));
    arrow.lineTo(origin + QPointF(7, 3.5));
    arrow.closeSubpath();
    arrow.moveTo(origin + QPointF(0, 5.5));
    arrow.lineTo(origin + QPointF(3.5, 9));
    arrow.lineTo(origin + QPointF(7, 5.5));
    arrow.closeSubpath();
    painter.fillPath(arrow, Qt::white);
}

} // namespace

PTSheetViewPopupButton::PTSheetViewPopupButton(QWidget* parent)
    : QPushButton(parent), borderRadius_(PTStyles::defaultControlBorderRadius()),
      strokeColor_(PTStyles::defaultControlStrokeColor())
{
    setFocusPolicy(Qt::StrongFocus);
    setFont(PTStyles::systemFont(12));
}

void PTSheetViewPopupButton::updateAppearance()
{
    strokeColor_ = PTStyles::defaultControlStrokeColor();
    update();
}

void PTSheetViewPopupButton::setPopupMenu(QMenu* menu)
{
    if (popupMenu_)
        disconnect(popupMenu_, nullptr, this, nullptr);
    popupMenu_ = menu;
    setMenu(menu);
    if (!menu)
        return;
    PTStyles::setupMenu(menu);
    // Items of submenus arrive here too.
    connect(menu, &QMenu::triggered, this, &PTSheetViewPopupButton::selectItem);
    if (!selectedItem_ && !menu->actions().isEmpty())
        selectItem(menu->actions().first());
}

void PTSheetViewPopupButton::selectItem(QAction* item)
{
    selectedItem_ = item;
    setAccessibleName(item ? menuAdditions::shownTitle(item->text()) : QString());
    update();
    emit itemSelected(item);
}

void PTSheetViewPopupButton::setBorderRadius(qreal radius)
{
    borderRadius_ = radius;
    update();
}

void PTSheetViewPopupButton::setStrokeColor(const QColor& color)
{
    strokeColor_ = color;
    update();
}

void PTSheetViewPopupButton::setGradientWidth(qreal width)
{
    gradientWidth_ = width;
    update();
}

void PTSheetViewPopupButton::setLabelPadding(qreal padding)
{
    labelPadding_ = padding;
    update();
}

QSize PTSheetViewPopupButton::sizeHint() const
{
    return QSize(120, 24);
}

QRectF PTSheetViewPopupButton::bodyRect() const
{
    return QRectF(0, 0, width(), height() - 1);
}

QImage PTSheetViewPopupButton::itemImage() const
{
    if (!selectedItem_ || selectedItem_->icon().isNull())
        return QImage();
    return selectedItem_->icon().pixmap(IconSize, IconSize).toImage();
}

QRectF PTSheetViewPopupButton::titleRect() const
{
    const QRectF body = bodyRect();
    const qreal textHeight = QFontMetricsF(font()).height();
    const QImage image = itemImage();
    const qreal x = image.isNull() ? labelPadding_ : image.deviceIndependentSize().width() + labelPadding_;
    const qreal y = std::ceil(body.height() / 2 - textHeight / 2 + body.y()) - 1;
    return QRectF(x, y, std::max(0.0, body.width() - (labelPadding_ + x) - gradientWidth_), textHeight);
}

void PTSheetViewPopupButton::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(isEnabled() ? 1.0 : PTStyles::defaultDisabledAlpha());
    const bool dark = PTThemeIsAppearance(PTAppearanceDark);
    const QRectF body = bodyRect();
    const QPainterPath path = MCAdditions::bezierPathWithRoundRect(body, borderRadius_);
    const QPainterPath inset = MCAdditions::bezierPathByInsettingPathBy(path, 1);
    if (dark) {
        PTControlDrawing::drawDropShadow(painter, inset, {QColor::fromRgbF(0, 0, 0, 0.4f), QPointF(0, 0), 1});
        PTControlDrawing::drawDropShadow(painter, inset, {QColor::fromRgbF(0, 0, 0, 0.2f), QPointF(0, -1), 1});
        painter.fillPath(inset, QColor(0x62, 0x62, 0x62));
    } else {
        PTControlDrawing::drawDropShadow(painter, path, {QColor::fromRgbF(0, 0, 0, 0.05f), QPointF(0, -1), 1});
        painter.fillPath(path, Qt::white);
        painter.setPen(QPen(strokeColor_, 1));
        MCAdditions::strokeInside(painter, path);
    }

    QRectF segment(width() - gradientWidth_, body.y(), gradientWidth_, body.height());
    if (dark)
        segment.adjust(0, 1, -1, -1);
    const QPainterPath segmentPath =
        MCAdditions::bezierPathWithRoundRect(segment, 0, borderRadius_, 0, borderRadius_);
    const PTStyles::Gradient gradient =
        isDown() ? PTStyles::defaultControlHighlightedGradient() : PTStyles::defaultControlGradient();
    painter.fillPath(segmentPath, gradient.over(segment));
    if (dark) {
        MCAdditions::fillWithInnerShadow(painter, inset, PTStyles::darkModeControlShadow());
    } else {
        QPainterPath ring = segmentPath;
        ring.addPath(MCAdditions::bezierPathByInsettingPathBy(segmentPath, 1));
        ring.setFillRule(Qt::OddEvenFill);
        const QColor stroke = PTStyles::defaultControlGradientStrokeColor();
        QColor faded = stroke;
        faded.setAlphaF(0.1f);
        painter.fillPath(ring, PTStyles::Gradient{faded, stroke}.over(segment));
    }

    painter.save();
    if (!isEnabled())
        painter.setOpacity(painter.opacity() * 0.5);
    const QImage image = itemImage();
    if (!image.isNull()) {
        const qreal y = std::ceil(body.height() / 2 - image.deviceIndependentSize().height() / 2 + body.y());
        painter.drawImage(QPointF(ImageX, y), image);
    }
    if (selectedItem_) {
        const QRectF title = titleRect();
        painter.setPen(PTStyles::defaultControlTextColor());
        const QString text = QFontMetricsF(font()).elidedText(menuAdditions::shownTitle(selectedItem_->text()), Qt::ElideMiddle, title.width());
        painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.restore();

    drawPopupArrow(painter, QPointF(std::floor(width() - gradientWidth_ + gradientWidth_ / 2 - 3.5),
                                    std::floor(body.height() / 2 + body.y() - 4.5)));
}
