#pragma once

#include "platform/ui/CommandHandler.h"

#include <QObject>
#include <QPointer>

#include <vector>

class QAction;
class QWidget;

namespace pt {

// Sends commands to the first handler along the chain: the focus widget and its ancestors (within its window)
// that are handlers, then the handlers pushed for that window (last pushed first), then the application's
// handler. That handler alone validates and performs the command; with none the command is disabled. Actions
// bound to commands are refreshed when the focus changes, a menu is about to show, a window is activated, a key is
// about to be matched against shortcuts, and on invalidate().
class ActionRouter : public QObject {
    Q_OBJECT
public:
    static ActionRouter& shared();

    void pushWindowHandler(QWidget* window, CommandHandler* handler);
    void removeWindowHandler(QWidget* window, CommandHandler* handler);
    void setApplicationHandler(CommandHandler* handler);

    // The handler that answers the command now, or null.
    CommandHandler* target(const QString& command) const;
    // Validation by the target; disabled without one.
    CommandState validate(const QString& command) const;
    // Performs the command when it is enabled; answers whether it ran.
    bool perform(const QString& command);

    // The action sends the command when triggered and shows its state.
    void bind(QAction* action, const QString& command);
    // Refreshes every bound action now.
    void invalidate();

private:
    ActionRouter();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void refresh(QAction* action) const;

    struct WindowHandler {
        QPointer<QWidget> window;
        CommandHandler* handler;
    };
    std::vector<WindowHandler> windowHandlers_;
    CommandHandler* applicationHandler_ = nullptr;
    std::vector<QPointer<QAction>> actions_;
};

} // namespace pt
