#include "platform/runtime/OperationQueue.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

using pt::OperationQueue;
using pt::test::runMainQueueFor;
using pt::test::runMainQueueUntil;

TEST(OperationQueue, NeverRunsMoreThanTheCap)
{
    for (int cap : {1, 3}) {
        OperationQueue queue;
        queue.setMaxConcurrentOperationCount(cap);
        std::atomic<int> inside{0};
        std::atomic<int> peak{0};
        std::atomic<int> done{0};
        for (int i = 0; i < 30; ++i) {
            queue.addOperation([&] {
                const int now = inside.fetch_add(1) + 1;
                int seen = peak.load();
                while (now > seen && !peak.compare_exchange_weak(seen, now)) {
                }
                QThread::usleep(2000);
                inside.fetch_sub(1);
                done.fetch_add(1);
            });
        }
        queue.waitUntilAllOperationsAreFinished();
        EXPECT_EQ(done.load(), 30);
        EXPECT_EQ(peak.load(), cap) << "cap " << cap;
        EXPECT_EQ(queue.operationCount(), 0);
    }
}

TEST(OperationQueue, DependenciesRunFirstEvenAcrossQueues)
{
    OperationQueue first;
    OperationQueue second;
    std::mutex mutex;
    std::vector<QString> order;
    auto record = [&](const QString& name) {
        return [&, name] {
            QThread::usleep(1000);
            std::lock_guard lock(mutex);
            order.push_back(name);
        };
    };
    auto a = pt::BlockOperation::create(record("a"));
    auto b = pt::BlockOperation::create(record("b"));
    auto c = pt::BlockOperation::create(record("c"));
    c->addDependency(b);
    b->addDependency(a);
    // Queued in reverse: only the dependencies can put them in order.
    second.addOperation(c);
    first.addOperation(b);
    second.addOperation(a);
    c->waitUntilFinished();
    EXPECT_EQ(order, (std::vector<QString>{"a", "b", "c"}));
}

TEST(OperationQueue, AllFinishedCallbackFiresExactlyOnceOnMain)
{
    OperationQueue queue;
    queue.setMaxConcurrentOperationCount(4);
    int fired = 0;
    bool onMain = false;
    std::atomic<int> done{0};
    for (int i = 0; i < 20; ++i)
        queue.addOperation([&] {
            QThread::usleep(500);
            done.fetch_add(1);
        });
    queue.notifyWhenEmpty([&] {
        ++fired;
        onMain = QThread::currentThread() == qApp->thread();
    });
    ASSERT_TRUE(runMainQueueUntil([&] { return fired > 0; }));
    EXPECT_EQ(done.load(), 20);
    queue.addOperation([] {});
    queue.waitUntilAllOperationsAreFinished();
    runMainQueueFor(50);
    EXPECT_EQ(fired, 1);
    EXPECT_TRUE(onMain);
}

TEST(OperationQueue, CancelBeforeStartSkipsTheBodyButFinishes)
{
    OperationQueue queue;
    queue.setSuspended(true);
    std::atomic<int> ran{0};
    auto op = queue.addOperation([&] { ran.fetch_add(1); });
    auto dependent = pt::BlockOperation::create([&] { ran.fetch_add(10); });
    dependent->addDependency(op);
    queue.addOperation(dependent);
    EXPECT_EQ(queue.operationCount(), 2);
    queue.cancelAllOperations();
    queue.setSuspended(false);
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(ran.load(), 0);
    EXPECT_TRUE(op->isFinished());
    EXPECT_TRUE(op->isCancelled());
}

TEST(OperationQueue, SuspendedQueueStartsNothing)
{
    OperationQueue queue;
    queue.setSuspended(true);
    std::atomic<bool> ran{false};
    queue.addOperation([&] { ran = true; });
    QThread::msleep(30);
    EXPECT_FALSE(ran.load());
    queue.setSuspended(false);
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(ran.load());
}
