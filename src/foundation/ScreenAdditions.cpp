#include "foundation/ScreenAdditions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace screenAdditions {

QScreen* mainScreen()
{
    const QWindow* active = QGuiApplication::focusWindow();
    return active && active->screen() ? active->screen() : primaryScreen();
}

double scale()
{
    return scale(mainScreen());
}

double scale(const QScreen* screen)
{
    return screen ? screen->devicePixelRatio() : 1.0;
}

QScreen* primaryScreen()
{
    return QGuiApplication::primaryScreen();
}

} // namespace screenAdditions
