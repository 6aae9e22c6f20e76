#include "browser/grid/GridClock.h"

#include <QElapsedTimer>
#include <QHash>
#include <QTimer>

namespace {

class SystemGridClock final : public GridClock {
public:
    SystemGridClock() { elapsed_.start(); }

    double now() const override { return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9; }

    Token callAfter(double seconds, std::function<void()> function) override
    {
        const Token token = ++lastToken_;
        auto* timer = new QTimer;
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer, &QTimer::timeout, timer, [this, token, timer, function = std::move(function)] {
            timers_.remove(token);
            timer->deleteLater();
            function();
        });
        timers_.insert(token, timer);
        timer->start(static_cast<int>(std::max(0.0, seconds) * 1000));
        return token;
    }

    void cancel(Token token) override
    {
        // Stopped at once: a timeout already due in this turn of the event loop must not run.
        if (QTimer* timer = timers_.take(token)) {
            timer->stop();
            timer->deleteLater();
        }
    }

private:
    QElapsedTimer elapsed_;
    Token lastToken_ = 0;
    QHash<Token, QTimer*> timers_;
};

} // namespace

GridClock& GridClock::system()
{
    static SystemGridClock clock;
    return clock;
}
