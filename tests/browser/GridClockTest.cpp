#include "browser/grid/GridClock.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

namespace {

TEST(GridClockTest, ACancelledCallNeverRuns)
{
    GridClock& clock = GridClock::system();
    int runs = 0;
    const GridClock::Token cancelled = clock.callAfter(0, [&] { ++runs; });
    const GridClock::Token kept = clock.callAfter(0, [&] { runs += 10; });
    EXPECT_NE(cancelled, kept);
    clock.cancel(cancelled);
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(runs, 10);
}

} // namespace
