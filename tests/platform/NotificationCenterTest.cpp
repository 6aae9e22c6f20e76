#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/NotificationCenter.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

using pt::Notification;
using pt::NotificationCenter;
using pt::ObserverToken;

TEST(NotificationCenter, FiltersByNameAndObject)
{
    int a = 0, b = 0;
    struct Case {
        QString observedName;
        const void* observedObject;
        QString postedName;
        const void* postedObject;
        bool delivered;
    };
    const std::vector<Case> cases{
        {"N", &a, "N", &a, true},        {"N", &a, "N", &b, false},     {"N", &a, "N", nullptr, false},
        {"N", nullptr, "N", &b, true},   {"N", nullptr, "M", nullptr, false},
        {QString(), &a, "M", &a, true},  {QString(), &a, "M", &b, false},
        {QString(), nullptr, "X", nullptr, true},
    };
    for (const Case& c : cases) {
        NotificationCenter center;
        int calls = 0;
        ObserverToken token = center.addObserver(c.observedName, c.observedObject, [&](const Notification&) { ++calls; });
        center.post(c.postedName, c.postedObject);
        EXPECT_EQ(calls, c.delivered ? 1 : 0) << c.observedName.toStdString() << " -> " << c.postedName.toStdString();
    }
}

TEST(NotificationCenter, DeliversInRegistrationOrderWithUserInfo)
{
    NotificationCenter center;
    std::vector<int> order;
    QVariant seen;
    std::vector<ObserverToken> tokens;
    for (int i = 0; i < 5; ++i)
        tokens.push_back(center.addObserver("N", nullptr, [&, i](const Notification& n) {
            order.push_back(i);
            seen = n.userInfo.value("key");
        }));
    center.post("N", nullptr, {{"key", 42}});
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(seen.toInt(), 42);
}

TEST(NotificationCenter, ObserverRemovedDuringDeliveryIsNotCalled)
{
    NotificationCenter center;
    int first = 0, second = 0;
    ObserverToken secondToken;
    ObserverToken firstToken = center.addObserver("N", nullptr, [&](const Notification&) {
        ++first;
        secondToken.reset();
        firstToken.reset(); // an observer may remove itself too
    });
    secondToken = center.addObserver("N", nullptr, [&](const Notification&) { ++second; });
    center.post("N");
    center.post("N");
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

TEST(NotificationCenter, TokenDestroyedBeforePostNeverRuns)
{
    NotificationCenter center;
    int calls = 0;
    {
        ObserverToken token = center.addObserver("N", nullptr, [&](const Notification&) { ++calls; });
    }
    center.post("N");
    EXPECT_EQ(calls, 0);
}

TEST(NotificationCenter, WorkerPostReachesMainQueueObserverOnMain)
{
    NotificationCenter center;
    std::atomic<int> calls{0};
    bool onMain = false;
    ObserverToken token = center.addObserver("N", nullptr,
                                             [&](const Notification&) {
                                                 onMain = QThread::currentThread() == qApp->thread();
                                                 calls.fetch_add(1);
                                             },
                                             NotificationCenter::Delivery::MainQueue);
    pt::DispatchQueue::global().async([&] { center.post("N"); });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return calls.load() == 1; }));
    EXPECT_TRUE(onMain);
}

TEST(NotificationCenter, MainQueueDeliveryIsDroppedWhenRemovedBeforeItRuns)
{
    NotificationCenter center;
    int calls = 0;
    ObserverToken token = center.addObserver("N", nullptr, [&](const Notification&) { ++calls; },
                                             NotificationCenter::Delivery::MainQueue);
    center.post("N");
    token.reset();
    pt::test::runMainQueueFor(30);
    EXPECT_EQ(calls, 0);
}

TEST(NotificationCenter, RemovalWaitsForADeliveryRunningOnAnotherThread)
{
    NotificationCenter center;
    std::atomic<bool> entered{false};
    std::atomic<bool> finished{false};
    ObserverToken token = center.addObserver("N", nullptr, [&](const Notification&) {
        entered = true;
        QThread::msleep(50);
        finished = true;
    });
    pt::DispatchQueue::global().async([&] { center.post("N"); });
    while (!entered.load())
        QThread::usleep(100);
    token.reset();
    EXPECT_TRUE(finished.load()) << "reset returned while the callback still ran";
}
