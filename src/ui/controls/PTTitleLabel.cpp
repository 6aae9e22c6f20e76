#include "ui/controls/PTTitleLabel.h"

#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>
#include <QStyle>

PTTitleLabel::PTTitleLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setAccessibleName(text.isEmpty() ? QStringLiteral("Label") : text);
    setDefaultTextColors(PTColorFromHEX(0x838383, 1.0), PTStyles::defaultDarkModeWhite());
}

void PTTitleLabel::setDefaultTextColors(const QColor& aqua, const QColor& dark)
{
    aquaColor_ = aqua;
    darkColor_ = dark;
    updateTextColor();
}

void PTTitleLabel::setAppearanceAquaColor(const QColor& color)
{
    aquaColor_ = color;
    updateTextColor();
}

void PTTitleLabel::setAppearanceDarkColor(const QColor& color)
{
    darkColor_ = color;
    updateTextColor();
}

void PTTitleLabel::updateTextColor()
{
    const QColor colour = PTThemeIsAppearance(PTAppearanceDark) ? darkColor_ : aquaColor_;
    if (colour == textColor_)
        return;
    textColor_ = colour;
    update();
}

void PTTitleLabel::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setPen(textColor_);
    int flags = QStyle::visualAlignment(layoutDirection(), alignment());
    if (wordWrap())
        flags |= Qt::TextWordWrap;
    // No palette role: the painter's pen is the colour.
    style()->drawItemText(&painter, contentsRect(), flags, palette(), isEnabled(), text(), QPalette::NoRole);
}
