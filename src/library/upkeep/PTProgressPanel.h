#pragma once

#include <QString>

// The library's modal progress panel: a title, a description and a busy
// indicator, modal to the main window while the library controller runs one
// block of work (PTLibraryController::runModalProgressPanelWithBlock). The
// interface kit implements it and the shell hands panels out
// (PTLibraryShell::makeProgressPanel); tests use a fake. show() runs on the
// main thread; the rest may be called from any thread, the work's included.
class PTProgressPanel {
public:
    virtual ~PTProgressPanel() = default;
    // Shows the panel in front of the main window, which takes no input while it
    // is up.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual void setTitle(const QString& title) = 0;
    // An empty description takes no room.
    virtual void setDescription(const QString& description) = 0;
};
