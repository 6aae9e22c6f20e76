#include "app/preferences/PTPreferencesAppearanceButton.h"

#include "foundation/ColorPrivate.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QPainter>
#include <QPainterPath>

PTPreferencesAppearanceButton::PTPreferencesAppearanceButton(int appearance, const QString& accessibleName,
                                                             QWidget* parent)
    : QAbstractButton(parent), appearance_(appearance)
{
    setCheckable(true);
    setAccessibleName(accessibleName);
    setFixedSize(sizeHint());
    setCursor(Qt::PointingHandCursor);
}

void PTPreferencesAppearanceButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF image = QRectF(rect()).adjusted(4, 4, -4, -4);
    if (isChecked()) {
        QColor ring = PTStyles::defaultBlue();
        ring.setAlphaF(isEnabled() ? 0.5f : 0.2f);
        painter.setPen(Qt::NoPen);
        painter.setBrush(ring);
        painter.drawRoundedRect(image.adjusted(-2, -2, 2, 2), 4, 4);
    } else {
        const qreal alpha = PTThemeIsAppearance(PTAppearanceAqua) ? 0.1 : 0.25;
        painter.setPen(Qt::NoPen);
        painter.setBrush(PTColorFromHEX(0x000000, alpha));
        painter.drawRoundedRect(image.translated(0, 1), 3, 3);
    }
    const bool dark = appearance_ == PTAppearanceDark;
    // Disabled (the automatic appearance decides), both pictures fade alike, so that neither the dark one's solid
    // block nor anything else reads as the chosen one.
    painter.setOpacity(isEnabled() ? 1.0 : 0.4);
    // A thin frame keeps the light picture visible on a light window, as the dark one is.
    painter.setPen(QPen(PTColorFromHEX(0xB1B7BC, 1), 1));
    painter.setBrush(dark ? PTColorFromHEX(0x323232, 1) : PTColorFromHEX(0xF3F3F4, 1));
    painter.drawRoundedRect(image.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setPen(Qt::NoPen);
    // The window's content beside its source list.
    painter.setBrush(dark ? PTColorFromHEX(0x1E1E1E, 1) : QColor(Qt::white));
    painter.drawRect(QRectF(image.left() + image.width() * 0.35, image.top() + 6, image.width() * 0.65 - 3,
                            image.height() - 9));
    painter.setBrush(dark ? PTColorFromHEX(0xDDDDDD, 1) : PTColorFromHEX(0x737373, 1));
    painter.drawEllipse(QRectF(image.left() + 3, image.top() + 2, 2.5, 2.5));
}
