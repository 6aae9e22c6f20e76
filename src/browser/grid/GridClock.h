#pragma once

#include <QtGlobal>

#include <functional>

// The grid's time: the animations read it and every delay of the grid (selection report, tooltips, hover,
// fades, the end of a resize burst) runs through it, so tests step time instead of waiting.
class GridClock {
public:
    using Token = quint64;

    virtual ~GridClock() = default;
    // Seconds since some fixed start.
    virtual double now() const = 0;
    // Runs the function once, the given seconds from now, on the main thread. Token 0 is never given out.
    virtual Token callAfter(double seconds, std::function<void()> function) = 0;
    // Drops a call that has not run; nothing for a token that ran or was cancelled.
    virtual void cancel(Token token) = 0;

    // Wall time and the Qt event loop.
    static GridClock& system();
};
