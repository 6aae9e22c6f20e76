#pragma once

#include <QAction>

#include <functional>

// A menu item that runs its handler when chosen; without one, choosing it does nothing.
class PTMenuItem : public QAction {
    Q_OBJECT
public:
    explicit PTMenuItem(const QString& title, QObject* parent = nullptr);

    const std::function<void()>& callHandler() const { return callHandler_; }
    // Replaces the handler set before; an empty one clears it.
    void setCallHandler(std::function<void()> handler) { callHandler_ = std::move(handler); }

private:
    std::function<void()> callHandler_;
};
