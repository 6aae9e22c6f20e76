#include "platform/runtime/DispatchQueue.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <mutex>
#include <vector>

using pt::DispatchQueue;
using pt::test::runMainQueueUntil;

TEST(DispatchQueue, MainQueueRunsInPostingOrderOnTheMainThread)
{
    std::vector<int> order;
    bool allOnMain = true;
    for (int i = 0; i < 100; ++i) {
        DispatchQueue::main().async([&, i] {
            order.push_back(i);
            allOnMain = allOnMain && DispatchQueue::main().isCurrent();
        });
    }
    EXPECT_TRUE(order.empty()) << "async must never run inline";
    ASSERT_TRUE(runMainQueueUntil([&] { return order.size() == 100; }));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(order[i], i);
    EXPECT_TRUE(allOnMain);
}

TEST(DispatchQueue, PostsFromWorkersKeepEachWorkersOrderOnMain)
{
    std::vector<std::pair<int, int>> seen;
    std::atomic<int> posted{0};
    for (int worker = 0; worker < 4; ++worker) {
        DispatchQueue::global().async([&, worker] {
            for (int i = 0; i < 50; ++i)
                DispatchQueue::main().async([&, worker, i] { seen.emplace_back(worker, i); });
            posted.fetch_add(1);
        });
    }
    ASSERT_TRUE(runMainQueueUntil([&] { return seen.size() == 200; }));
    std::vector<int> last(4, -1);
    for (auto [worker, i] : seen) {
        EXPECT_EQ(i, last[worker] + 1);
        last[worker] = i;
    }
}

TEST(DispatchQueue, SerialQueueNeverOverlapsAndKeepsOrder)
{
    auto queue = DispatchQueue::serial(QStringLiteral("test.serial"));
    std::atomic<int> inside{0};
    std::atomic<int> peak{0};
    std::vector<int> order;
    std::mutex orderMutex;
    for (int i = 0; i < 200; ++i) {
        queue.async([&, i] {
            const int now = inside.fetch_add(1) + 1;
            peak.store(std::max(peak.load(), now));
            if (i % 20 == 0)
                QThread::usleep(500);
            {
                std::lock_guard lock(orderMutex);
                order.push_back(i);
            }
            inside.fetch_sub(1);
        });
    }
    queue.sync([] {});
    EXPECT_EQ(peak.load(), 1);
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[i], i);
}

TEST(DispatchQueue, SyncOntoTheCurrentQueueRunsInlineInsteadOfDeadlocking)
{
    auto queue = DispatchQueue::serial(QStringLiteral("test.reentrant"));
    bool innerRan = false;
    bool wasCurrent = false;
    queue.sync([&] {
        wasCurrent = queue.isCurrent();
        queue.sync([&] { innerRan = true; });
    });
    EXPECT_TRUE(wasCurrent);
    EXPECT_TRUE(innerRan);
    EXPECT_FALSE(queue.isCurrent());

    bool mainRan = false;
    DispatchQueue::main().sync([&] { mainRan = true; });
    EXPECT_TRUE(mainRan);
}

TEST(DispatchQueue, SyncOntoMainFromAWorkerWaitsForTheMainThread)
{
    std::atomic<bool> ranOnMain{false};
    std::atomic<bool> workerDone{false};
    DispatchQueue::global().async([&] {
        DispatchQueue::main().sync([&] { ranOnMain = QThread::currentThread() == qApp->thread(); });
        workerDone = true;
    });
    ASSERT_TRUE(runMainQueueUntil([&] { return workerDone.load(); }));
    EXPECT_TRUE(ranOnMain.load());
}

TEST(DispatchQueue, AfterIsNeverInlineAndOrdersByDeadlineThenSchedule)
{
    struct Case {
        double delay;
        int id;
    };
    // Scheduled in this order; expected to run by deadline, ties in scheduling order.
    const std::vector<Case> cases{{0.05, 0}, {0.0, 1}, {0.02, 2}, {0.0, 3}, {0.02, 4}, {-1.0, 5}};
    const std::vector<int> expected{1, 3, 5, 2, 4, 0};

    std::vector<int> order;
    for (const Case& c : cases)
        DispatchQueue::main().after(c.delay, [&order, id = c.id] { order.push_back(id); });
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(runMainQueueUntil([&] { return order.size() == cases.size(); }));
    EXPECT_EQ(order, expected);
}

TEST(DispatchQueue, AfterWaitsAtLeastTheDelay)
{
    QElapsedTimer timer;
    timer.start();
    qint64 elapsed = -1;
    pt::dispatchAfter(0.1, DispatchQueue::global(), [&] { elapsed = timer.elapsed(); });
    ASSERT_TRUE(runMainQueueUntil([&] { return elapsed >= 0; }));
    EXPECT_GE(elapsed, 100);
}

TEST(DispatchQueue, GlobalQueueRunsConcurrently)
{
    std::atomic<int> inside{0};
    std::atomic<int> peak{0};
    std::atomic<int> done{0};
    for (int i = 0; i < 8; ++i) {
        DispatchQueue::global().async([&] {
            const int now = inside.fetch_add(1) + 1;
            peak.store(std::max(peak.load(), now));
            QThread::msleep(30);
            inside.fetch_sub(1);
            done.fetch_add(1);
        });
    }
    ASSERT_TRUE(runMainQueueUntil([&] { return done.load() == 8; }));
    EXPECT_GT(peak.load(), 1);
}

// A task that overflows its stack can only be reported from a signal stack of the thread's own.
TEST(DispatchQueue, WorkerThreadsHaveAnAlternateSignalStack)
{
    std::atomic<int> withStack{0};
    std::atomic<int> done{0};
    const auto check = [&] {
        stack_t current = {};
        if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE) && current.ss_size >= 16384)
            withStack.fetch_add(1);
        done.fetch_add(1);
    };
    const auto serial = DispatchQueue::serial(QStringLiteral("test.signal-stack"));
    for (int i = 0; i < 8; ++i) {
        DispatchQueue::global().async(check);
        serial.async(check);
    }
    ASSERT_TRUE(runMainQueueUntil([&] { return done.load() == 16; }));
    EXPECT_EQ(withStack.load(), 16);
}
