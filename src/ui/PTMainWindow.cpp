#include "ui/PTMainWindow.h"

#include <QPointer>
#include <QWidget>

namespace {

QPointer<QWidget>& mainWindow()
{
    static QPointer<QWidget> window;
    return window;
}

} // namespace

QWidget* PTMainWindow()
{
    return mainWindow();
}

void PTSetMainWindow(QWidget* window)
{
    mainWindow() = window;
}
