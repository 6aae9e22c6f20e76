#include "ui/views/PTBackgroundView.h"

#include "ui/theme/PTStyles.h"

#include <QPainter>

PTBackgroundView::PTBackgroundView(QWidget* parent) : PTView(parent)
{
    setAccessibleName(QStringLiteral("Background"));
}

void PTBackgroundView::setBackgroundColor(const QColor& color)
{
    backgroundColor_ = color;
    update();
}

void PTBackgroundView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColor_.isValid() ? backgroundColor_ : PTStyles::sidebarBackgroundColor());
}
