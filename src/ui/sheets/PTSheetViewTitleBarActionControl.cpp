#include "ui/sheets/PTSheetViewTitleBarActionControl.h"

#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTSheetViewTitleBarActionControl::PTSheetViewTitleBarActionControl(QWidget* parent) : QPushButton(parent)
{
    setAccessibleName(QStringLiteral("Actions"));
    setFixedSize(18, 18);
}

void PTSheetViewTitleBarActionControl::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(PTThemeIsAppearance(PTAppearanceDark) ? QColor(Qt::white) : PTColorFromHEX(0x515151, 1.0));
    for (int i = 0; i < 3; ++i)
        painter.drawEllipse(QRectF(width() / 2.0 - 8 + 6 * i, height() / 2.0 - 2, 4, 4));
}
