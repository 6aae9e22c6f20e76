#include "browser/quicklook/PTQuickLookBackgroundView.h"

#include "foundation/ColorPrivate.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QPainter>

PTQuickLookBackgroundView::PTQuickLookBackgroundView(QWidget* parent)
    : QWidget(parent)
{
}

void PTQuickLookBackgroundView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    const bool dark = PTThemeIsAppearance(PTAppearanceDark);
    painter.fillRect(rect(), dark ? PTStyles::gridBackgroundColor() : QColor(Qt::white));
    painter.fillRect(QRectF(width() - 1, 0, 1, height()),
                     dark ? QColor(Qt::black) : colorPrivate::colorFromHEX(0x888888, 0.3F));
}
