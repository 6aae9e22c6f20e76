#include "app/preferences/PTPreferencesRowView.h"

#include "ui/theme/PTThemeController.h"

#include <QPainter>

PTPreferencesRowView::PTPreferencesRowView(QWidget* parent) : QWidget(parent) {}

void PTPreferencesRowView::setIsAlternate(bool alternate)
{
    if (alternate == isAlternate_)
        return;
    isAlternate_ = alternate;
    update();
}

void PTPreferencesRowView::setSubviewIsAlternate(PTStackView*, bool alternate)
{
    setIsAlternate(alternate);
}

void PTPreferencesRowView::paintEvent(QPaintEvent*)
{
    if (!isAlternate_)
        return;
    QColor stripe(Qt::white);
    stripe.setAlphaF(PTThemeIsAppearance(PTAppearanceDark) ? 0.02f : 0.3f);
    QPainter(this).fillRect(rect(), stripe);
}
