#include "app/PTWindowTitleBar.h"

#include "app/ChromeArt.h"
#include "app/PTWindow.h"
#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPainter>

#include <cmath>

PTWindowTitleBar::PTWindowTitleBar(QWidget* parent)
    : PTView(parent)
    , layout_(new QHBoxLayout(this))
    , titleFont_(PTStyles::systemFont(14))
{
    setAccessibleName(QStringLiteral("Toolbar"));
    setFixedHeight(Height);
    layout_->setContentsMargins(12, 0, 12, 1);
    layout_->setSpacing(8);
}

bool PTWindowTitleBar::drawsActive() const
{
    return PTWindow::drawsActive(window());
}

QColor PTWindowTitleBar::titleColor()
{
    return PTThemeIsAppearance(PTAppearanceDark) ? PTStyles::defaultDarkModeWhite()
                                                 : colorPrivate::colorFromHEX(0x656F77, 1);
}

QRectF PTWindowTitleBar::titleRect() const
{
    const QFontMetricsF metrics(titleFont_);
    const QSizeF size(metrics.horizontalAdvance(window()->windowTitle()), metrics.height());
    return QRectF(std::ceil(width() / 2.0 - size.width() / 2), std::ceil(height() / 2.0 - size.height() / 2),
                  size.width(), size.height());
}

void PTWindowTitleBar::setReversed(bool reversed)
{
    flipped_ = reversed;
    update();
}

void PTWindowTitleBar::viewRequiresScreenUpdate()
{
    backgroundImage_ = chromeArt::imageNamed(BackgroundImageName, this);
    update();
}

void PTWindowTitleBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool active = drawsActive();
    const QRect bounds = rect();
    const QRect edge(0, flipped_ ? 0 : height() - 1, width(), 1);
    if (PTThemeIsAppearance(PTAppearanceDark)) {
        painter.fillRect(bounds, colorPrivate::colorFromHEX(0x2D2D2D, 1));
        painter.fillRect(bounds, colorPrivate::colorFromHEX(0x3A3A3A, active ? 1.0 : 0.6));
        painter.fillRect(edge, colorPrivate::colorFromHEX(0x111111, active ? 0.9 : 0.45));
        drawTitle(painter, true);
        return;
    }
    const qreal alpha = active ? 1.0 : 0.6;
    painter.fillRect(bounds, Qt::white);
    painter.fillRect(bounds, colorPrivate::colorFromHEX(0xE9E9E9, float(alpha)));
    painter.save();
    painter.setOpacity(alpha);
    if (flipped_) {
        painter.translate(0, height());
        painter.scale(1, -1);
    }
    painter.drawImage(QRectF(bounds), backgroundImage_);
    painter.setOpacity(1);
    painter.fillRect(QRect(0, height() - 1, width(), 1), colorPrivate::colorFromHEX(0xA3A1A3, active ? 0.7 : 0.35));
    painter.drawImage(QPointF(0, 0), rim(painter.device()->devicePixelRatioF()));
    painter.restore();
    drawTitle(painter, false);
}

const QImage& PTWindowTitleBar::rim(qreal scale)
{
    const QSize pixels = (QSizeF(size()) * scale).toSize();
    if (rim_.size() == pixels && qFuzzyCompare(rim_.devicePixelRatio(), scale))
        return rim_;
    rim_ = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
    rim_.setDevicePixelRatio(scale);
    rim_.fill(Qt::transparent);
    QPainter painter(&rim_);
    // As if lit from above: the inner shadow of the whole band, white, one point down.
    MCAdditions::fillWithInnerShadow(painter, MCAdditions::bezierPathWithRoundRect(QRectF(rect()), 5),
                                     pt::Shadow{colorPrivate::colorFromHEX(0xFFFFFF, 0.3f), QPointF(0, -1), 0});
    return rim_;
}

void PTWindowTitleBar::drawTitle(QPainter& painter, bool dark)
{
    const QString title = window()->windowTitle();
    if (title.isEmpty())
        return;
    const QRectF where = titleRect();
    const QPointF baseline(where.left(), where.top() + QFontMetricsF(titleFont_).ascent());
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(titleFont_);
    if (!dark) {
        // Engraved: a half-white copy one point below.
        painter.setPen(colorPrivate::colorFromHEX(0xFFFFFF, 0.5f));
        painter.drawText(baseline + QPointF(0, 1), title);
    }
    painter.setPen(titleColor());
    painter.drawText(baseline, title);
}

bool PTWindowTitleBar::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
        update();
    return PTView::event(event);
}
