#include "platform/ui/ActionRouter.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWidget>

#include <algorithm>

namespace pt {

namespace {
const char* const CommandProperty = "ptCommand";
} // namespace

ActionRouter& ActionRouter::shared()
{
    static ActionRouter* router = new ActionRouter;
    return *router;
}

ActionRouter::ActionRouter()
{
    connect(qApp, &QApplication::focusChanged, this, &ActionRouter::invalidate);
    // Menus about to show and windows being activated arrive as events to any object.
    qApp->installEventFilter(this);
}

void ActionRouter::pushWindowHandler(QWidget* window, CommandHandler* handler)
{
    windowHandlers_.push_back({window, handler});
}

void ActionRouter::removeWindowHandler(QWidget* window, CommandHandler* handler)
{
    std::erase_if(windowHandlers_, [&](const WindowHandler& entry) {
        return !entry.window || (entry.window == window && entry.handler == handler);
    });
}

void ActionRouter::setApplicationHandler(CommandHandler* handler)
{
    applicationHandler_ = handler;
}

CommandHandler* ActionRouter::target(const QString& command) const
{
    QWidget* focus = QApplication::focusWidget();
    QWidget* window = focus ? focus->window() : QApplication::activeWindow();
    for (QWidget* widget = focus; widget; widget = widget->parentWidget()) {
        if (auto* handler = dynamic_cast<CommandHandler*>(widget); handler && handler->respondsTo(command))
            return handler;
        if (widget->isWindow())
            break;
    }
    for (auto it = windowHandlers_.rbegin(); it != windowHandlers_.rend(); ++it) {
        if (it->window && it->window == window && it->handler->respondsTo(command))
            return it->handler;
    }
    if (applicationHandler_ && applicationHandler_->respondsTo(command))
        return applicationHandler_;
    return nullptr;
}

CommandState ActionRouter::validate(const QString& command) const
{
    CommandState state;
    CommandHandler* handler = target(command);
    if (!handler || !handler->validate(command, state))
        state.enabled = false;
    return state;
}

bool ActionRouter::perform(const QString& command)
{
    CommandHandler* handler = target(command);
    CommandState state;
    if (!handler || !handler->validate(command, state) || !state.enabled)
        return false;
    handler->perform(command);
    return true;
}

void ActionRouter::bind(QAction* action, const QString& command)
{
    action->setProperty(CommandProperty, command);
    actions_.emplace_back(action);
    connect(action, &QAction::triggered, this, [this, command] { perform(command); });
    refresh(action);
}

void ActionRouter::invalidate()
{
    std::erase_if(actions_, [](const QPointer<QAction>& action) { return !action; });
    for (const QPointer<QAction>& action : actions_)
        refresh(action);
}

void ActionRouter::refresh(QAction* action) const
{
    const QString command = action->property(CommandProperty).toString();
    const CommandState state = validate(command);
    action->setEnabled(state.enabled);
    if (!state.title.isEmpty())
        action->setText(state.title);
    action->setCheckable(state.checkable);
    if (state.checkable)
        action->setChecked(state.checked);
}

bool ActionRouter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->isWindow())
        invalidate();
    else if (event->type() == QEvent::Show && qobject_cast<QMenu*>(watched))
        invalidate();
    // A key is about to be matched against the shortcuts: a selection made since the last refresh must count.
    else if (event->type() == QEvent::ShortcutOverride && watched == QApplication::focusWidget())
        invalidate();
    return false;
}

} // namespace pt
