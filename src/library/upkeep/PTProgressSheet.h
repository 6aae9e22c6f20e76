#pragma once

#include <QString>

#include <functional>

// The progress sheet as the library uses it around long work: modal (runModal) or attached to the main window
// while work goes on (beginSession ... endSession). The interface kit implements it and the shell hands sheets
// out (PTLibraryShell::makeProgressSheet); tests use a fake. Setters may be called on the main queue while the
// sheet runs.
class PTProgressSheet {
public:
    // Ends a modal run with the code; `hide` also hides the sheet. Callable from any thread.
    using Completion = std::function<void(int code, bool hide)>;
    using Work = std::function<void(Completion completion)>;

    virtual ~PTProgressSheet() = default;
    virtual void setTitle(const QString& title) = 0;
    virtual void setSubTitle(const QString& subTitle) = 0;
    virtual void setMessage(const QString& message) = 0;
    // 0 of 0: an indeterminate bar.
    virtual void setProgress(qint64 value, qint64 maximum) = 0;
    virtual void setFloatingMode(bool floating) = 0;
    // The OK button is enabled only in mode 0.
    virtual void setUserInteractiveMode(int mode) = 0;
    virtual void setAllowsCancellation(bool allows) = 0;
    virtual void setCancelHandler(std::function<void()> handler) = 0;
    virtual void setButtonControlLabel(const QString& label) = 0;
    virtual void setAllowsButtonControls(bool allows) = 0;
    // Runs the work on the high-priority global queue and keeps the application modal on the main thread until
    // the completion is called (or the OK button pressed, code 1); answers the code.
    virtual int runModal(Work work) = 0;
    // Shows the sheet on its own, centred and in front.
    virtual void show() = 0;
    virtual void hide() = 0;
    // Attaches the sheet to the main window (or the sheet already on it) while work goes on.
    virtual void beginSession() = 0;
    virtual void endSession() = 0;
};
