#include "browser/views/PTPagingIndicatorView.h"

#include <QPainter>

#include <cmath>

namespace {
constexpr qreal Dot = 8;
} // namespace

PTPagingIndicatorView::PTPagingIndicatorView(QWidget* parent) : QWidget(parent)
{
    updateAccessibleName();
}

void PTPagingIndicatorView::setCount(qint64 count)
{
    count_ = count;
    updateAccessibleName();
    update();
}

void PTPagingIndicatorView::setCurrentIndex(qint64 index)
{
    currentIndex_ = index;
    updateAccessibleName();
    update();
}

void PTPagingIndicatorView::updateAccessibleName()
{
    setAccessibleName(tr("Page %1 of %2").arg(currentIndex_ + 1).arg(count_));
}

void PTPagingIndicatorView::paintEvent(QPaintEvent* /*event*/)
{
    if (count_ <= 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const qreal rowWidth = static_cast<qreal>(2 * count_ - 1) * Dot;
    painter.translate(std::floor(width() / 2.0 - rowWidth / 2), std::floor(height() / 2.0 - Dot / 2));
    for (qint64 i = 0; i < count_; ++i) {
        painter.setBrush(i == currentIndex_ ? QColor(0x55, 0x60, 0x68) : QColor(0x9F, 0xA9, 0xB2));
        painter.drawEllipse(QRectF(static_cast<qreal>(2 * i) * Dot, 0, Dot, Dot));
    }
}
