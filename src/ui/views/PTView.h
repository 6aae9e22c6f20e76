#pragma once

#include <QMetaObject>
#include <QWidget>

#include <functional>

// The base of the kit's drawing views: it redraws when it enters a window and whenever that window moves to another
// screen (whose scale or colours may differ). Subclasses that keep screen-dependent state refresh it in
// viewRequiresScreenUpdate().
class PTView : public QWidget {
    Q_OBJECT
public:
    explicit PTView(QWidget* parent = nullptr);

    // The same for widgets of other bases, called from their event(): when the event shows the widget or moves it
    // to another window, runs the hook and follows that window so that the hook runs again whenever the window
    // moves to another screen. The connection is the widget's own; each call replaces it.
    static void followWindowScreen(QWidget* widget, const QEvent* event, QMetaObject::Connection& connection,
                                   const std::function<void()>& hook);

protected:
    virtual void viewRequiresScreenUpdate();
    bool event(QEvent* event) override;

private:
    QMetaObject::Connection screenChanged_;
};
