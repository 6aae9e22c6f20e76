#include "foundation/ScreenAdditions.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace screenAdditions {

double scale()
{
    const QWindow* active = QGuiApplication::focusWindow();
    return scale(active && active->screen() ? active->screen() : primaryScreen());
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
