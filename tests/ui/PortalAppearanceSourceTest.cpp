#include "platform/desktop/PortalAppearanceSource.h"

#include "TestSupport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>

#include <gtest/gtest.h>

namespace {

const QString PortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

// The settings interface of a desktop portal, on a connection of its own.
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    explicit FakePortal(uint scheme) : scheme_(scheme)
    {
        connection_.registerObject(PortalPath, this, QDBusConnection::ExportAllSlots);
        registered = connection_.registerService(PortalService);
    }
    ~FakePortal() override
    {
        connection_.unregisterService(PortalService);
        connection_.unregisterObject(PortalPath);
        QDBusConnection::disconnectFromBus(connection_.name());
    }
    void signalScheme(const QVariant& scheme)
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(PortalPath, QStringLiteral("org.freedesktop.portal.Settings"),
                                       QStringLiteral("SettingChanged"));
        signal << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme")
               << QVariant::fromValue(QDBusVariant(scheme));
        connection_.send(signal);
    }

    bool registered = false;

public Q_SLOTS:
    // The portal wraps the value in a second variant.
    QDBusVariant Read(const QString& group, const QString& key)
    {
        if (group != QLatin1String("org.freedesktop.appearance") || key != QLatin1String("color-scheme"))
            return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(scheme_)));
    }

private:
    uint scheme_;
    QDBusConnection connection_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
};

TEST(PortalAppearanceSourceTest, ReadsThePortalThenFollowsItsSignal)
{
    FakePortal portal(1);
    ASSERT_TRUE(portal.registered);
    pt::PortalAppearanceSource source;
    std::vector<int> answers;
    QObject::connect(&source, &pt::SystemAppearanceSource::appearanceChanged,
                     [&answers](int value) { answers.push_back(value); });
    source.start();
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 1; }));
    EXPECT_EQ(answers[0], pt::SystemAppearanceSource::Dark);

    portal.signalScheme(2u);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers[1], pt::SystemAppearanceSource::Light);
}

TEST(PortalAppearanceSourceTest, NoPortalOrNoBusMeansLight)
{
    pt::PortalAppearanceSource withoutPortal;
    pt::PortalAppearanceSource withoutBus(QDBusConnection(QStringLiteral("no such connection")));
    std::vector<int> answers;
    for (pt::PortalAppearanceSource* source : {&withoutPortal, &withoutBus}) {
        QObject::connect(source, &pt::SystemAppearanceSource::appearanceChanged,
                         [&answers](int value) { answers.push_back(value); });
        source->start();
    }
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return answers.size() == 2; }));
    EXPECT_EQ(answers, (std::vector<int>{pt::SystemAppearanceSource::Light, pt::SystemAppearanceSource::Light}));
}

TEST(PortalAppearanceSourceTest, OnlySchemeOneIsDark)
{
    struct Case {
        QVariant value;
        int expected;
    };
    const Case cases[] = {
        {QVariant::fromValue(1u), pt::SystemAppearanceSource::Dark},
        {QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(1u)))), pt::SystemAppearanceSource::Dark},
        {QVariant::fromValue(0u), pt::SystemAppearanceSource::Light},
        {QVariant::fromValue(2u), pt::SystemAppearanceSource::Light},
        {QVariant(QStringLiteral("1")), pt::SystemAppearanceSource::Light},
        {QVariant(), pt::SystemAppearanceSource::Light},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pt::PortalAppearanceSource::appearanceForScheme(c.value), c.expected) << c.value.typeName();
}

} // namespace

#include "PortalAppearanceSourceTest.moc"
