#include "app/PTInspectorPlaceholder.h"

#include "ui/theme/PTStyles.h"

#include <QPainter>

PTInspectorPlaceholder::PTInspectorPlaceholder(QWidget* parent)
    : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Inspector"));
}

void PTInspectorPlaceholder::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), PTStyles::sidebarBackgroundColor());
}
