#include "FakeDesktopServices.h"
#include "TestSupport.h"

#include "app/PTNotificationCenter.h"
#include "platform/runtime/Defaults.h"

#include <QDBusArgument>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class NotificationCenterTest : public ::testing::Test {
protected:
    void SetUp() override { setSettings(true, true); }
    static void setSettings(bool enabled, bool always)
    {
        pt::Defaults::standard().set(PTNotificationCenter::EnabledKey, enabled);
        pt::Defaults::standard().set(PTNotificationCenter::AlwaysShowKey, always);
    }
    static PTNotification notice(const QString& message = QStringLiteral("12 icons added"))
    {
        PTNotification notification;
        notification.title = QStringLiteral("Import finished");
        notification.message = message;
        return notification;
    }
};

TEST_F(NotificationCenterTest, SettingsAndActivityGateDelivery)
{
    FakeNotificationServer server(QStringLiteral("server"), {QStringLiteral("body")});
    struct Case {
        bool enabled;
        bool always;
        bool active;
        bool delivered;
    };
    const Case cases[] = {
        {false, true, false, false},
        {true, false, false, true},
        {true, false, true, false}, // no banner while Pictern is in front
        {true, true, true, true},
    };
    for (const Case& c : cases) {
        setSettings(c.enabled, c.always);
        PTNotificationCenter center(QDBusConnection::sessionBus(), [&c] { return c.active; });
        server.calls.clear();
        center.postNotification(notice());
        // A delivery is waited for (the bus is slow on a busy machine); a withheld one is given the same chance.
        if (c.delivered)
            pt::test::runMainQueueUntil([&server] { return !server.calls.isEmpty(); });
        else
            pt::test::runMainQueueFor(150);
        EXPECT_EQ(server.calls.size(), c.delivered ? 1 : 0)
            << "enabled " << c.enabled << " always " << c.always << " active " << c.active;
    }
}

TEST_F(NotificationCenterTest, NotifyCarriesExactArgumentsAndAnOddWidthImage)
{
    FakeNotificationServer server(QStringLiteral("server"), {QStringLiteral("body"), QStringLiteral("body-markup")});
    PTNotificationCenter center(QDBusConnection::sessionBus(), [] { return false; });
    PTNotification notification = notice(QStringLiteral("Set <Arrows> & more"));
    notification.subtitle = QStringLiteral("Arrows");
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(QColor(10, 20, 30));
    image.setPixelColor(2, 1, QColor(200, 100, 50, 128));
    notification.image = image;
    QString delivered;
    QObject::connect(&center, &PTNotificationCenter::delivered, [&](const QString& identifier, uint) { delivered = identifier; });
    ASSERT_TRUE(center.postNotification(notification));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !delivered.isEmpty(); }));
    EXPECT_EQ(delivered, notification.identifier);

    ASSERT_EQ(server.calls.size(), 1);
    const FakeNotificationServer::Call& call = server.calls.first();
    EXPECT_EQ(call.appName, QStringLiteral("Pictern"));
    EXPECT_EQ(call.replacesId, 0U);
    EXPECT_EQ(call.appIcon, QStringLiteral("com.pictern.Pictern"));
    EXPECT_EQ(call.summary, QStringLiteral("Import finished"));
    EXPECT_EQ(call.body, QStringLiteral("Arrows\nSet &lt;Arrows&gt; &amp; more")) << "the server reads markup";
    EXPECT_TRUE(call.actions.isEmpty());
    EXPECT_EQ(call.timeout, -1);
    EXPECT_EQ(call.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("com.pictern.Pictern"));

    const QDBusArgument argument = call.hints.value(QStringLiteral("image-data")).value<QDBusArgument>();
    int width = 0, height = 0, stride = 0, bits = 0, channels = 0;
    bool alpha = false;
    QByteArray data;
    argument.beginStructure();
    argument >> width >> height >> stride >> alpha >> bits >> channels >> data;
    argument.endStructure();
    EXPECT_EQ(width, 3);
    EXPECT_EQ(height, 2);
    EXPECT_EQ(stride, 12) << "rows are packed, whatever the width";
    EXPECT_TRUE(alpha);
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(channels, 4);
    ASSERT_EQ(data.size(), 24);
    EXPECT_EQ(QByteArray(data.constData(), 4), QByteArray("\x0a\x14\x1e\xff", 4));
    EXPECT_EQ(QByteArray(data.constData() + 20, 4), QByteArray("\xc8\x64\x32\x80", 4)) << "not premultiplied";

    // Without markup the text goes as it is; a second notification is one of its own.
    FakeNotificationServer::Call first = call;
    server.calls.clear();
    PTNotification second = notice(QStringLiteral("a <b>"));
    EXPECT_NE(second.identifier, notification.identifier);
    EXPECT_EQ(PTNotificationCenter::notifyArguments(second, {QStringLiteral("body")}).at(4).toString(),
              QStringLiteral("a <b>"));
}

// With no notification server on the bus the notifications come back, in order, for the window to show; those the
// settings withhold do not, and a server that takes them sends none back.
TEST_F(NotificationCenterTest, WhatNoServerShowsComesBack)
{
    QStringList back;
    const auto post = [&back](const QString& message) {
        PTNotificationCenter center(QDBusConnection::sessionBus(), [] { return false; });
        QObject::connect(&center, &PTNotificationCenter::undelivered,
                         [&back](const PTNotification& notification) { back << notification.message; });
        center.postNotification(notice(message));
        center.postNotification(notice(message + QStringLiteral(" again")));
        pt::test::runMainQueueUntil([&back] { return back.size() >= 2; }, 2000);
    };
    post(QStringLiteral("no server"));
    EXPECT_EQ(back, (QStringList{QStringLiteral("no server"), QStringLiteral("no server again")}));

    back.clear();
    setSettings(false, true);
    post(QStringLiteral("switched off"));
    EXPECT_TRUE(back.isEmpty()) << "the user turned notifications off";

    setSettings(true, true);
    FakeNotificationServer server(QStringLiteral("server"), {QStringLiteral("body")});
    post(QStringLiteral("served"));
    EXPECT_EQ(server.calls.size(), 2);
    EXPECT_TRUE(back.isEmpty());
}

TEST_F(NotificationCenterTest, AServerThatNeverAnswersHoldsNobody)
{
    FakeNotificationServer server(QStringLiteral("server"), {QStringLiteral("body")}, true);
    PTNotificationCenter center(QDBusConnection::sessionBus(), [] { return false; });
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(center.postNotification(notice()));
    EXPECT_LT(clock.elapsed(), 100);
    // The event loop keeps running while the question is open.
    bool ran = false;
    QTimer::singleShot(20, [&] { ran = true; });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return ran; }, 1000));
    EXPECT_EQ(server.capabilityRequests, 1) << "one open question, not one per notification";
    EXPECT_TRUE(server.calls.isEmpty());
}

} // namespace
