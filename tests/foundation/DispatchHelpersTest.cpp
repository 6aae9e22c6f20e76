#include "foundation/DispatchHelpers.h"

#include "TestSupport.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <vector>

using pt::DispatchQueue;
using pt::test::runMainQueueUntil;

namespace {

struct Dispatch {
    int id;
    qint64 ms;
};

} // namespace

TEST(DispatchHelpers, DispatchAfterZeroNeverRunsInsideTheCall)
{
    bool ran = false;
    PTDispatchAfter([&] { ran = true; }, DispatchQueue::main(), 0.0);
    EXPECT_FALSE(ran);
    PTDispatchAfter([] {}, DispatchQueue::main(), 0.0000000005); // truncates to 0 ns
    ASSERT_TRUE(runMainQueueUntil([&] { return ran; }));
}

// Spaced runs share one queue, so these cases run one after another in a single test; delays are scaled down
// (0.1 s for the second of the descriptions) to keep the suite quick.
TEST(DispatchHelpers, TimeoutQueueAddsDelaysInCallOrder)
{
    const double unit = 0.1;
    QElapsedTimer clock;
    clock.start();
    std::vector<Dispatch> seen;
    auto record = [&](int id) { return [&, id] { seen.push_back({id, clock.elapsed()}); }; };

    // Delays 1, 4, 2 with the flag zero dispatch at 1, 5 and 7 units.
    PTDispatchAfterOnTimeoutQueue(record(1), DispatchQueue::main(), 0, 1 * unit);
    PTDispatchAfterOnTimeoutQueue(record(2), DispatchQueue::main(), 0, 4 * unit);
    PTDispatchAfterOnTimeoutQueue(record(3), DispatchQueue::main(), 0, 2 * unit);
    ASSERT_TRUE(runMainQueueUntil([&] { return seen.size() == 3; }, 10000));
    const qint64 expected[] = {100, 500, 700};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(seen[i].id, i + 1);
        EXPECT_GE(seen[i].ms, expected[i]);
        EXPECT_LT(seen[i].ms, expected[i] + 400) << "dispatch " << i + 1;
    }
}

TEST(DispatchHelpers, WaitAfterDispatchesFirstAndHoldsBackLaterCallers)
{
    const double unit = 0.1;
    QElapsedTimer clock;
    clock.start();
    std::vector<Dispatch> seen;
    auto record = [&](int id) { return [&, id] { seen.push_back({id, clock.elapsed()}); }; };

    // Flag nonzero with 3 and 3: the first at once, the second 3 units later, the queue free after 6.
    PTDispatchAfterOnTimeoutQueue(record(1), DispatchQueue::main(), 1, 3 * unit);
    PTDispatchAfterOnTimeoutQueue(record(2), DispatchQueue::main(), 1, 3 * unit);
    // An unrelated caller waits behind the series.
    PTDispatchAfterOnTimeoutQueue(record(3), DispatchQueue::main(), 0, 0);
    ASSERT_TRUE(runMainQueueUntil([&] { return seen.size() == 3; }, 10000));
    EXPECT_LT(seen[0].ms, 200);
    EXPECT_GE(seen[1].ms, 300);
    EXPECT_LT(seen[1].ms, 700);
    EXPECT_GE(seen[2].ms, 600);
    EXPECT_EQ(seen[2].id, 3);
}

TEST(DispatchHelpers, CancellableBlocksRunAtMostOnceOnTheMainQueue)
{
    int runs = 0;
    const PTCancellableBlock first = PTNewCancellableBlock([&] { ++runs; });
    const PTCancellableBlock copy = first;
    first(false);
    EXPECT_EQ(runs, 0) << "queued, not run inside the call";
    copy(false);
    PTCancelBlock(first);

    const PTCancellableBlock dropped = PTNewCancellableBlock([&] { runs += 100; });
    PTCancelBlock(dropped);
    dropped(false);
    PTCancelBlock(PTCancellableBlock());

    bool drained = false;
    PTDispatchAfter([&] { drained = true; }, DispatchQueue::main(), 0);
    ASSERT_TRUE(runMainQueueUntil([&] { return drained; }));
    EXPECT_EQ(runs, 1);
}
