#include "ui/theme/PTStyles.h"

#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"

#include <QMenu>
#include <QPainter>
#include <QPixmap>

namespace {

QColor hex(int value, double alpha = 1.0)
{
    return PTColorFromHEX(value, alpha);
}

} // namespace

QFont PTStyles::systemFont(int pixelSize)
{
    QFont font;
    font.setPixelSize(pixelSize);
    return font;
}

QLinearGradient PTStyles::Gradient::over(const QRectF& rect) const
{
    QLinearGradient gradient(rect.bottomLeft(), rect.topLeft());
    gradient.setColorAt(0, start);
    gradient.setColorAt(1, end);
    return gradient;
}

bool PTStyles::isDark()
{
    return PTThemeIsAppearance(PTAppearanceDark);
}

int PTStyles::defaultBlueHEX()
{
    return isDark() ? 0x0082EF : 0x3991FD;
}

QColor PTStyles::defaultBlue()
{
    return hex(defaultBlueHEX());
}

QColor PTStyles::toolbarIconTemplateColor()
{
    return isDark() ? hex(0xFDFBFC) : hex(0x737373);
}

QColor PTStyles::sidebarBackgroundColor()
{
    return isDark() ? hex(0x323232) : hex(0xF3F3F4);
}

QColor PTStyles::windowBackgroundColor()
{
    return isDark() ? sidebarBackgroundColor() : hex(0xECECEC);
}

QColor PTStyles::titleBarHeaderColor()
{
    return isDark() ? hex(0x3D3D3D) : QColor(Qt::white);
}

QColor PTStyles::sectionHeaderColor()
{
    return sectionHeaderColorForAppearance(isDark() ? PTAppearanceDark : PTAppearanceAqua);
}

QColor PTStyles::gridBackgroundColor()
{
    return gridBackgroundColorForAppearance(isDark() ? PTAppearanceDark : PTAppearanceAqua);
}

QColor PTStyles::defaultControlFieldColor()
{
    return isDark() ? hex(0x3C3C3C) : QColor(Qt::white);
}

QColor PTStyles::defaultControlFocusedBackgroundColor()
{
    return isDark() ? defaultControlFieldColor() : QColor(Qt::white);
}

QColor PTStyles::defaultControlFocusedStrokeColor()
{
    return QColor();
}

QColor PTStyles::defaultControlStrokeColor()
{
    return isDark() ? hex(0x292929) : hex(0xB1B7BC, 0.58);
}

QColor PTStyles::defaultControlFieldStrokeColor()
{
    return isDark() ? hex(0xFFFFFF, 0.15) : hex(0xB1B7BC, 0.58);
}

QColor PTStyles::defaultControlGradientStrokeColor()
{
    return isDark() ? hex(0x033363) : hex(0x015DFF, 0.3);
}

QColor PTStyles::defaultControlTextColor()
{
    return isDark() ? defaultDarkModeWhite() : hex(0x737373);
}

QColor PTStyles::defaultDarkModeWhite()
{
    return hex(0xDDDDDD);
}

QColor PTStyles::inputStrokeColor()
{
    return isDark() ? hex(0x000000) : hex(0xD9DDE0);
}

QColor PTStyles::sideBarinputStrokeColor()
{
    return hex(0xBABABB, 0.8);
}

QColor PTStyles::inputFontColor()
{
    return hex(0x656F77);
}

QColor PTStyles::tintColor()
{
    return hex(0x465860);
}

QColor PTStyles::searchInputColor()
{
    return hex(0x767676);
}

QColor PTStyles::defaultButtonFontColor()
{
    return hex(0x98A4AD);
}

PTStyles::Gradient PTStyles::defaultControlGradient()
{
    return isDark() ? Gradient{hex(0x2F6ADE), hex(0x2A5FC6)} : Gradient{hex(0x69B1FA), hex(0x087FFF)};
}

PTStyles::Gradient PTStyles::defaultControlHighlightedGradient()
{
    return isDark() ? Gradient{hex(0x4582ED), hex(0x3671DE)} : Gradient{hex(0x4A96FD), hex(0x2966E4)};
}

pt::Shadow PTStyles::darkModeControlShadow()
{
    return pt::Shadow{QColor(255, 255, 255, 51), QPointF(0, -1), 0.5};
}

QFont PTStyles::inputFont()
{
    return systemFont(12);
}

QColor PTStyles::gridBackgroundColorForAppearance(int appearance)
{
    return appearance == PTAppearanceDark ? hex(0x1E1E1E) : QColor(Qt::white);
}

QColor PTStyles::sectionHeaderColorForAppearance(int appearance)
{
    return appearance == PTAppearanceDark ? hex(0x323232) : QColor(Qt::white);
}

void PTStyles::setupMenu(QMenu* menu)
{
    menu->setFont(systemFont(13));
}

QBrush PTStyles::checkedPatternColorWithTint(const QColor& tint)
{
    QPixmap tile(8, 8);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint.isValid() ? tint : QColor(Qt::black));
    painter.drawRoundedRect(QRectF(0, 0, 2, 2), 2, 2);
    painter.end();
    return QBrush(tile);
}

QPalette PTStyles::palette(int appearance)
{
    const bool dark = appearance == PTAppearanceDark;
    const QColor window = dark ? hex(0x323232) : hex(0xECECEC);
    const QColor text = dark ? hex(0xDDDDDD) : hex(0x262626);
    const QColor base = dark ? hex(0x3C3C3C) : QColor(Qt::white);
    const QColor disabledText = dark ? hex(0x7A7A7A) : hex(0xA3A3A3);
    QPalette palette(text, window, window.lighter(130), window.darker(130), window.darker(110), text, text, base,
                     window);
    palette.setColor(QPalette::AlternateBase, dark ? hex(0x373737) : hex(0xF5F5F5));
    palette.setColor(QPalette::Button, dark ? hex(0x3C3C3C) : hex(0xF6F6F6));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, hex(dark ? 0x0082EF : 0x3991FD));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::ToolTipBase, dark ? hex(0x3D3D3D) : QColor(Qt::white));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::PlaceholderText, disabledText);
    palette.setColor(QPalette::Link, hex(dark ? 0x0082EF : 0x3991FD));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, disabledText);
    return palette;
}
