#include "foundation/BlockNotifications.h"

#include "platform/runtime/DispatchQueue.h"

#include "TestSupport.h"

#include <QThread>

#include <gtest/gtest.h>

#include <atomic>

using namespace block_notifications;

TEST(BlockNotifications, OnlyTheReceiverAsObjectFires)
{
    pt::NotificationCenter center;
    QObject a, b;
    int calls = 0;
    addNotificationBlock(&a, [&](const pt::Notification&) { ++calls; }, "N", center);
    center.post("N", &b);
    center.post("N", nullptr);
    center.post("M", &a);
    EXPECT_EQ(calls, 0);
    center.post("N", &a);
    EXPECT_EQ(calls, 1);
}

TEST(BlockNotifications, BlocksRunInRegistrationOrderAndRemovalLeavesNothing)
{
    pt::NotificationCenter center;
    QObject receiver;
    std::vector<int> order;
    auto first = addNotificationBlock(&receiver, [&](const pt::Notification&) { order.push_back(1); }, "N", center);
    auto second = addNotificationBlock(&receiver, [&](const pt::Notification&) { order.push_back(2); }, "N", center);
    center.post("N", &receiver);
    EXPECT_EQ(order, (std::vector<int>{1, 2})) << "each block once: the receiver joins the centre once per name";

    removeNotificationBlock(&receiver, first);
    removeNotificationBlock(&receiver, second);
    EXPECT_EQ(notificationBlockCount(&receiver, "N"), 0);
    order.clear();
    center.post("N", &receiver);
    EXPECT_TRUE(order.empty());
}

TEST(BlockNotifications, DestroyedReceiverRunsNothing)
{
    pt::NotificationCenter center;
    int calls = 0;
    {
        QObject receiver;
        addNotificationBlock(&receiver, [&](const pt::Notification&) { ++calls; }, "N", center);
    }
    // A new object may reuse the address; it registered nothing.
    QObject other;
    center.post("N", &other);
    center.post("N");
    EXPECT_EQ(calls, 0);
}

TEST(BlockNotifications, ReceiverDestroyedWhileWorkersPost)
{
    pt::NotificationCenter center;
    std::atomic<bool> stop{false};
    std::atomic<int> posts{0};
    std::atomic<int> calls{0};
    for (int round = 0; round < 50; ++round) {
        auto* receiver = new QObject;
        addNotificationBlock(receiver, [&](const pt::Notification&) { calls.fetch_add(1); }, "N", center);
        std::atomic<bool> posting{true};
        pt::DispatchQueue::global().async([&, receiver] {
            while (posting.load()) {
                center.post("N", receiver);
                posts.fetch_add(1);
            }
            stop = true;
        });
        while (posts.load() == 0)
            QThread::yieldCurrentThread();
        delete receiver;
        const int after = calls.load();
        QThread::usleep(200);
        EXPECT_EQ(calls.load(), after) << "a block ran after its receiver was destroyed";
        posting = false;
        while (!stop.load())
            QThread::yieldCurrentThread();
        stop = false;
        posts = 0;
    }
}
