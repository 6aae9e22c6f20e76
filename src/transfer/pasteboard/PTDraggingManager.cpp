#include "transfer/pasteboard/PTDraggingManager.h"

#include "platform/runtime/Defaults.h"
#include "ui/PTPreferenceKeys.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

#include <cmath>
#include <utility>

PTDraggingManager& PTDraggingManager::sharedManager()
{
    static PTDraggingManager* manager = new PTDraggingManager;
    return *manager;
}

bool PTDraggingManager::isBeyondTolerance(QPointF start, QPointF point, double tolerance)
{
    return std::abs(point.x() - start.x()) > tolerance || std::abs(point.y() - start.y()) > tolerance;
}

bool PTDraggingManager::canFollowPointer()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void PTDraggingManager::begin(QPointF point)
{
    handled_ = false;
    start_ = point;
    hideOnDrag_ = pt::Defaults::standard().boolForKey(PTPreferenceKeys::HideWindowOnDrag);
}

void PTDraggingManager::move(QPointF point, QWidget* source, Qt::KeyboardModifiers modifiers)
{
    if (handled_ || !source)
        return;
    if (!modifiers.testFlag(Qt::ControlModifier) && !hideOnDrag_)
        return;
    QWidget* window = source->window();
    if (window->isFullScreen() || !isBeyondTolerance(start_, point, tolerance))
        return;
    // Hidden, not closed: closing the main window would quit.
    window->hide();
    hidden_ = window;
    handled_ = true;
}

void PTDraggingManager::followPointer(QWidget* source)
{
    source_ = source;
    if (!timer_) {
        timer_ = new QTimer(this);
        timer_->setInterval(PollIntervalMs);
        connect(timer_, &QTimer::timeout, this, &PTDraggingManager::poll);
    }
    timer_->start();
}

void PTDraggingManager::poll()
{
    move(QCursor::pos(), source_, QGuiApplication::queryKeyboardModifiers());
}

void PTDraggingManager::end()
{
    if (timer_)
        timer_->stop();
    start_ = {};
    source_ = nullptr;
    if (const QPointer<QWidget> window = std::exchange(hidden_, nullptr); window && window->isHidden()) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}
