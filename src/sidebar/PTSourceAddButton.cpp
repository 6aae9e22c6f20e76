#include "sidebar/PTSourceAddButton.h"

#include "foundation/ColorPrivate.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QPainter>

#include <cmath>

namespace {

constexpr int CrossSize = 12;
constexpr int Gap = 5;

} // namespace

PTSourceAddButton::PTSourceAddButton(QWidget* parent)
    : QPushButton(tr("Add Icons"), parent)
{
    setFlat(true);
    setFont(PTStyles::systemFont(12));
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(tr("Add Icons"));
}

QSize PTSourceAddButton::sizeHint() const
{
    return QSize(fontMetrics().horizontalAdvance(text()) + CrossSize + Gap + 16, 30);
}

void PTSourceAddButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), PTStyles::sidebarBackgroundColor());
    const QColor ink = PTThemeIsAppearance(0) ? PTStyles::defaultDarkModeWhite() : colorPrivate::colorFromHEX(0x595959, 1);
    const QFontMetricsF metrics(font());
    const qreal contentWidth = metrics.horizontalAdvance(text()) + Gap + CrossSize;
    const qreal x = std::round(width() / 2.0 - contentWidth / 2);
    const qreal y = std::round(height() / 2.0 - CrossSize / 2.0);
    painter.fillRect(QRectF(x, y + 5.5, CrossSize, 1), ink);
    painter.fillRect(QRectF(x + 5.5, y, 1, CrossSize), ink);
    painter.setPen(isDown() ? ink.darker(140) : ink);
    painter.setFont(font());
    painter.drawText(QRectF(x + CrossSize + Gap, 0, width() - x - CrossSize - Gap, height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text());
}
