#include "ui/sheets/PTSheetViewTitleBackgroundView.h"

#include "ui/theme/PTStyles.h"

#include "foundation/ColorPrivate.h"
#include "foundation/MCAdditions.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

PTSheetViewTitleBackgroundView::PTSheetViewTitleBackgroundView(QWidget* parent) : PTStackView(parent)
{
    setAccessibleName(QStringLiteral("Title bar"));
}

void PTSheetViewTitleBackgroundView::setWantsSeperator(bool wants)
{
    wantsSeperator_ = wants;
    update();
}

void PTSheetViewTitleBackgroundView::setWantsRoundedCorners(bool wants)
{
    wantsRoundedCorners_ = wants;
    update();
}

void PTSheetViewTitleBackgroundView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = PTStyles::titleBarHeaderColor();
    if (wantsRoundedCorners_)
        painter.fillPath(MCAdditions::bezierPathWithRoundRect(QRectF(rect()), 5, 5, 0, 0), colour);
    else
        painter.fillRect(rect(), colour);
    if (wantsSeperator_)
        painter.fillRect(QRect(0, height() - 1, width(), 1), PTColorFromHEX(0x888888, 0.1));
}

void PTSheetViewTitleBackgroundView::mousePressEvent(QMouseEvent* event)
{
    QWindow* handle = window()->windowHandle();
    if (event->button() == Qt::LeftButton && handle && handle->startSystemMove())
        return;
    PTStackView::mousePressEvent(event);
}
