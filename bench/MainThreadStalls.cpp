#include "MainThreadStalls.h"

#include <algorithm>

MainThreadStalls::MainThreadStalls()
{
    clock_.start();
    ticker_.setInterval(1);
    QObject::connect(&ticker_, &QTimer::timeout, [this] { mark(); });
    ticker_.start();
}

void MainThreadStalls::mark()
{
    const qint64 now = clock_.nsecsElapsed();
    longestNs_ = std::max(longestNs_, now - lastTick_);
    lastTick_ = now;
}
