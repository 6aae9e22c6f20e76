#include "ui/sheets/PTSheetView.h"

#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTSheetView::PTSheetView(QWidget* parent) : PTView(parent)
{
    setAccessibleName(QStringLiteral("Sheet content"));
}

QColor PTSheetView::fillColor() const
{
    return PTThemeIsAppearance(PTAppearanceDark) ? PTStyles::sidebarBackgroundColor() : PTColorFromHEX(0xFAFAFA, 1.0);
}

void PTSheetView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fillColor());
    painter.drawRoundedRect(QRectF(rect()), 5, 5);
}
