#include "ui/views/PTStackViewSeperatorView.h"

#include "ui/theme/PTThemeController.h"

#include "foundation/ColorPrivate.h"

#include <QPainter>

PTStackViewSeperatorView::PTStackViewSeperatorView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Separator"));
    resize(0, 1);
}

QWidget* PTStackViewSeperatorView::copyView() const
{
    auto* copy = new PTStackViewSeperatorView;
    copy->resize(size());
    return copy;
}

void PTStackViewSeperatorView::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    const bool dark = PTThemeIsAppearance(PTAppearanceDark);
    painter.fillRect(rect(), dark ? PTColorFromHEX(0x444243, 0.9) : PTColorFromHEX(0x888888, 0.08));
}
