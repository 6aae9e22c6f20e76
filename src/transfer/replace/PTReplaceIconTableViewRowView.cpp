#include "transfer/replace/PTReplaceIconTableViewRowView.h"

#include "ui/theme/PTThemeController.h"

#include <QPainter>

namespace {
QColor whiteAt(qreal alpha)
{
    QColor color(Qt::white);
    color.setAlphaF(alpha);
    return color;
}
} // namespace

PTReplaceIconTableViewRowView::PTReplaceIconTableViewRowView(QWidget* parent) : QWidget(parent) {}

void PTReplaceIconTableViewRowView::setRowIndex(qint64 index)
{
    rowIndex_ = index;
    update();
}

void PTReplaceIconTableViewRowView::setShouldDrawSeparator(bool draws)
{
    shouldDrawSeparator_ = draws;
    update();
}

QColor PTReplaceIconTableViewRowView::alternateColor() const
{
    if (rowIndex_ % 2 == 0)
        return {};
    return PTThemeIsAppearance(0) ? whiteAt(0.02) : QColor(0xF6, 0xF6, 0xF6);
}

QColor PTReplaceIconTableViewRowView::separatorColor() const
{
    return PTThemeIsAppearance(0) ? whiteAt(0.1) : QColor(0xEE, 0xEE, 0xEE);
}

void PTReplaceIconTableViewRowView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (const QColor shade = alternateColor(); shade.isValid())
        painter.fillRect(rect(), shade);
    if (shouldDrawSeparator_)
        painter.fillRect(QRect(0, height() - 1, width(), 1), separatorColor());
}
