#pragma once

#include "app/welcome/PTSplashWindow.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class QVBoxLayout;

// The base of the welcome windows: builds its window (a panel on the left, content on the right), shows it
// centred, optionally in a modal run that ends when the window closes, and decides whether it may close.
class PTSplashWindowController : public QObject {
    Q_OBJECT
public:
    static constexpr int PanelWidth = 260;

    PTSplashWindowController();
    ~PTSplashWindowController() override;

    // Shows a new controller of the class, unless `present` is true and the class's shouldPresent() says no;
    // with runModal the call returns once the window has closed. Null when nothing was shown.
    template <class Controller>
    static std::unique_ptr<Controller> present(bool present, bool runModal)
    {
        if (present && !Controller::shouldPresent())
            return nullptr;
        auto controller = std::make_unique<Controller>();
        controller->showWindow(runModal);
        return controller;
    }

    PTSplashWindow* window() const { return window_; }
    void showWindow(bool runModal);
    // Asks the window to close, as its close button does.
    void performClose();
    // Whether the window may close now.
    virtual bool windowShouldClose() { return true; }

protected:
    // Fills the content: a title (also the window's), a text and one button at the bottom.
    void setContent(const QString& title, const QString& text, const QString& button, const QString& buttonName,
                    const std::function<void()>& action);

private:
    QPointer<PTSplashWindow> window_;
    QVBoxLayout* panel_;
    QVBoxLayout* content_;
};
