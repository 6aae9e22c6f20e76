#include "browser/quicklook/PTQuickLookImageView.h"

#include "foundation/ColorPrivate.h"
#include "foundation/DifferentStuff.h"
#include "foundation/MCAdditions.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QPainter>

#include <cmath>

namespace {

// The pattern's inset from the field's edge, and its strength in each theme.
constexpr qreal PatternInset = 4;
constexpr qreal LightPatternAlpha = 0.05;
constexpr qreal DarkPatternAlpha = 0.04;

} // namespace

PTQuickLookImageView::PTQuickLookImageView(QWidget* parent)
    : QWidget(parent)
{
}

void PTQuickLookImageView::setImage(const QImage& image)
{
    lastPaintedImage_ = QImage();
    image_ = image;
    update();
}

void PTQuickLookImageView::setIconColor(const QColor& color)
{
    iconColor_ = color;
    update();
}

void PTQuickLookImageView::setBackgroundColor(const QColor& color)
{
    backgroundColor_ = color;
    update();
}

QSizeF PTQuickLookImageView::imageSize() const
{
    return image_.isNull() ? QSizeF() : image_.deviceIndependentSize();
}

QRect PTQuickLookImageView::draggingFrame() const
{
    const QSizeF size = imageSize();
    const qreal x = std::ceil(width() / 2.0 - size.width() / 2);
    const qreal y = std::ceil(height() / 2.0 - size.height() / 2);
    return QRectF(QPointF(x, y), size).toAlignedRect();
}

QImage PTQuickLookImageView::draggingImage() const
{
    return lastPaintedImage_.isNull() ? image_ : lastPaintedImage_;
}

void PTQuickLookImageView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = rect();
    const QPainterPath field = MCAdditions::bezierPathWithRoundRect(bounds, topLeftBorderRadius_, topRightBorderRadius_,
                                                                    bottomLeftBorderRadius_, bottomRightBorderRadius_);
    const bool dark = PTThemeIsAppearance(PTAppearanceDark);
    const QColor border = dark ? PTStyles::defaultControlFieldStrokeColor() : colorPrivate::colorFromHEX(0x000000, 0.15F);
    if (backgroundColor_.isValid() && backgroundColor_.alphaF() == 1.0F) {
        painter.fillPath(field, backgroundColor_);
    } else {
        painter.fillPath(field, dark ? PTStyles::defaultControlFieldColor() : QColor(Qt::white));
        painter.save();
        painter.setOpacity(dark ? DarkPatternAlpha : LightPatternAlpha);
        painter.fillRect(bounds.adjusted(PatternInset, PatternInset, -PatternInset, -PatternInset),
                         PTStyles::checkedPatternColorWithTint(dark ? QColor(Qt::white) : QColor()));
        painter.restore();
        painter.fillPath(field, backgroundColor_.isValid() ? backgroundColor_ : QColor(Qt::transparent));
    }
    painter.setPen(QPen(border, 1));
    MCAdditions::strokeInside(painter, field);

    if (imageSize().isEmpty())
        return;
    QImage painted(image_.size(), QImage::Format_ARGB32_Premultiplied);
    painted.setDevicePixelRatio(image_.devicePixelRatio());
    painted.fill(Qt::transparent);
    {
        QPainter into(&painted);
        if (iconColor_.isValid())
            into.setOpacity(iconColor_.alphaF());
        into.drawImage(QPointF(0, 0), image_);
    }
    if (iconColor_.isValid()) {
        QColor opaque = iconColor_;
        opaque.setAlphaF(1);
        painted = differentStuff::tintWithColor(painted, opaque);
    }
    painter.drawImage(draggingFrame().topLeft(), painted);
    lastPaintedImage_ = painted;
}
