#pragma once

#include "ui/views/PTAppearanceWindow.h"

#include <functional>

class PTWindowTitleBar;
class QMenuBar;
class QVBoxLayout;

// The main window: native decorations, the menu bar, the toolbar band and the content. It is never destroyed
// by a close: a close asks the handler (the quit) and stays open until the application ends.
class PTWindow : public PTAppearanceWindow {
    Q_OBJECT
public:
    explicit PTWindow(QWidget* parent = nullptr);

    PTWindowTitleBar* titleBar() const { return titleBar_; }
    void setContentView(QWidget* view);
    void setMenuBar(QMenuBar* menuBar);
    // The content starts right under the toolbar band: nothing of it is covered.
    static constexpr int contentTopMargin() { return 0; }
    // Whether the window's chrome draws as active: the window, or a sheet on it, is the active window.
    static bool drawsActive(const QWidget* window);
    // Called instead of closing.
    void setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // The toolbar band writes the title.
    void changeEvent(QEvent* event) override;

private:
    QVBoxLayout* layout_;
    PTWindowTitleBar* titleBar_;
    QWidget* content_ = nullptr;
    std::function<void()> closeHandler_;
};
