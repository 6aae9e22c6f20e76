#include "app/PTToolbarSeperatorIndicatorView.h"

#include "foundation/MCAdditions.h"
#include "ui/theme/PTThemeController.h"

#include <QPainter>

PTToolbarSeperatorIndicatorView::PTToolbarSeperatorIndicatorView(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Separator"));
    setFixedSize(Width, Height);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

QRectF PTToolbarSeperatorIndicatorView::markRect() const
{
    // One point wide, left of the middle, from 5 points below the top to 3 above the bottom.
    return QRectF(width() / 2.0 - 0.5 - 1, 5, 1, height() - 8);
}

QColor PTToolbarSeperatorIndicatorView::markColor()
{
    QColor ink = PTThemeIsAppearance(PTAppearanceDark) ? QColor(Qt::white) : QColor(Qt::black);
    ink.setAlphaF(0.8f * 0.15f);
    return ink;
}

void PTToolbarSeperatorIndicatorView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(MCAdditions::bezierPathWithRoundRect(markRect(), 0.5), markColor());
}
