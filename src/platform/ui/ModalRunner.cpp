#include "platform/ui/ModalRunner.h"

#include "platform/runtime/Logging.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <mutex>
#include <optional>
#include <vector>

namespace pt {

namespace {

struct Session {
    QEventLoop* loop = nullptr;
    std::optional<int> code;
};

struct State {
    std::mutex mutex;
    std::vector<Session*> sessions; // innermost last
    std::optional<int> pendingStop;
    ModalRunner::Hook hook;
    int deadline = 0;
};

State& state()
{
    static State s;
    return s;
}

// Ends the innermost session on the main thread, if it has been given a code.
void wakeInnermost()
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [] {
            State& s = state();
            std::lock_guard lock(s.mutex);
            if (!s.sessions.empty() && s.sessions.back()->code)
                s.sessions.back()->loop->exit(*s.sessions.back()->code);
        },
        Qt::QueuedConnection);
}

void stopSession(Session* session, int code)
{
    State& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (session->code)
            return;
        session->code = code;
    }
    wakeInnermost();
}

} // namespace

int ModalRunner::run(QWidget* window, Qt::WindowModality modality)
{
    Q_ASSERT(window);
    State& s = state();
    QEventLoop loop;
    Session session{&loop, {}};
    Hook hook;
    int deadline = 0;
    {
        std::lock_guard lock(s.mutex);
        session.code = s.pendingStop;
        s.pendingStop.reset();
        s.sessions.push_back(&session);
        hook = s.hook;
        deadline = s.deadline;
    }

    QPointer<QWidget> guard(window);
    // The window the user worked in gets the keys back afterwards: not every desktop hands them to it.
    const QPointer<QWidget> previous = QApplication::activeWindow();
    QMetaObject::Connection finished;
    if (auto* dialog = qobject_cast<QDialog*>(window))
        finished = QObject::connect(dialog, &QDialog::finished, &loop,
                                    [&session](int result) { stopSession(&session, result); });
    // Modality takes effect only when a window is shown.
    if (window->isVisible() && window->windowModality() != modality)
        window->hide();
    window->setWindowModality(modality);
    window->show();
    window->raise();
    window->activateWindow();
    if (hook)
        QTimer::singleShot(0, &loop, [hook, guard] {
            if (guard)
                hook(guard);
        });
    QTimer timeout;
    if (deadline > 0) {
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, [&session, guard] {
            qCWarning(lcPlatform) << "modal run of" << guard << "passed its deadline";
            stopSession(&session, TimedOut);
        });
        timeout.start(deadline);
    }
    if (session.code)
        wakeInnermost();
    const int code = loop.exec();
    QObject::disconnect(finished);
    {
        std::lock_guard lock(s.mutex);
        s.sessions.pop_back();
    }
    // An outer run stopped while this one ran can end now.
    wakeInnermost();
    // Qt keeps a visible modal window on its modal stack until it hides; changing its modality before then
    // would leave it there for good.
    if (guard && guard->isHidden())
        guard->setWindowModality(Qt::NonModal);
    if (previous && previous != window && previous->isVisible() && (!guard || guard->isHidden()))
        previous->activateWindow();
    return code;
}

void ModalRunner::stop(int code)
{
    State& s = state();
    {
        std::lock_guard lock(s.mutex);
        if (s.sessions.empty()) {
            s.pendingStop = code;
            return;
        }
        Session* innermost = s.sessions.back();
        if (innermost->code)
            return;
        innermost->code = code;
    }
    wakeInnermost();
}

bool ModalRunner::isRunning()
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    return !s.sessions.empty();
}

void ModalRunner::setHook(Hook hook)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.hook = std::move(hook);
}

void ModalRunner::setDeadline(int milliseconds)
{
    State& s = state();
    std::lock_guard lock(s.mutex);
    s.deadline = milliseconds;
}

} // namespace pt
