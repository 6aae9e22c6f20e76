#pragma once

#include <QtCore/qnamespace.h>

#include <functional>

class QWidget;

namespace pt {

// Runs a window modally in a nested event loop until stop() ends the innermost run, or the window (a dialog) is
// finished. stop() may come from any thread, and a stop that arrives before the loop starts is kept for the next
// run, so work that finishes at once still ends its run.
class ModalRunner {
public:
    // Answered by a run that outlived the deadline.
    static constexpr int TimedOut = -1000;
    using Hook = std::function<void(QWidget* window)>;

    // Shows the window with the modality and answers the code that stopped the run. A QDialog's finished(result)
    // stops its own run with the result.
    static int run(QWidget* window, Qt::WindowModality modality = Qt::ApplicationModal);
    static void stop(int code);
    // True while a run is in progress.
    static bool isRunning();

    // Tests: the hook gets each modal window once its loop runs (to press its buttons); a run that lasts longer
    // than the deadline (ms, 0 = none) ends with TimedOut and a warning rather than hanging.
    static void setHook(Hook hook);
    static void setDeadline(int milliseconds);
};

} // namespace pt
