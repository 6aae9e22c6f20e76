#include "ui/views/PTAppearanceWindow.h"

#include "ui/theme/PTStyles.h"

PTAppearanceWindow::PTAppearanceWindow(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags)
{
    setAccessibleName(QStringLiteral("Window"));
    setAutoFillBackground(true);
    updateAppearance();
}

void PTAppearanceWindow::updateAppearance()
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, PTStyles::windowBackgroundColor());
    setPalette(colours);
}
