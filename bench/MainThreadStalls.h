#pragma once

#include <QElapsedTimer>
#include <QTimer>

// The main thread's stalls while it lives: the longest gap between ticks of a timer that asks for one every
// millisecond. `mark()` counts the gap up to now, for work that ends inside a turn of the main queue.
class MainThreadStalls {
public:
    MainThreadStalls();
    void mark();
    double longestMs() const { return longestNs_ / 1e6; }
    qint64 elapsedNs() const { return clock_.nsecsElapsed(); }

private:
    QElapsedTimer clock_;
    QTimer ticker_;
    qint64 lastTick_ = 0;
    qint64 longestNs_ = 0;
};
