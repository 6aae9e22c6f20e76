#include "ui/views/PTPanelSeparator.h"

#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTPanelSeparator::PTPanelSeparator(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Separator"));
    resize(0, 1);
}

void PTPanelSeparator::setIsSheet(bool sheet)
{
    isSheet_ = sheet;
    update();
}

void PTPanelSeparator::setSoften(bool soften)
{
    soften_ = soften;
    update();
}

void PTPanelSeparator::setIsTitleBar(bool titleBar)
{
    isTitleBar_ = titleBar;
    update();
}

QColor PTPanelSeparator::lineColor() const
{
    // The title-bar colour applies only in the dark theme.
    if (PTThemeIsAppearance(PTAppearanceDark))
        return isTitleBar_ ? PTColorFromHEX(0x222222, 1.0) : PTColorFromHEX(0xFFFFFF, 0.1);
    if (soften_)
        return PTColorFromHEX(0x888888, 0.1);
    return PTColorFromHEX(0x888888, isSheet_ ? 0.05 : 0.2);
}

QWidget* PTPanelSeparator::copyView() const
{
    auto* copy = new PTPanelSeparator;
    copy->resize(size());
    copy->isSheet_ = isSheet_;
    copy->soften_ = soften_;
    copy->isTitleBar_ = isTitleBar_;
    return copy;
}

void PTPanelSeparator::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(QRect(0, 0, width(), 1), lineColor());
}
