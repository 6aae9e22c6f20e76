#include "foundation/PTAssertHandler.h"

#include <QObject>

#include <gtest/gtest.h>

namespace {

QStringList captured;
QtMessageHandler outer = nullptr;

void capture(QtMsgType, const QMessageLogContext&, const QString& message)
{
    captured.append(message);
}

} // namespace

TEST(PTAssertHandler, FailuresAreLoggedWithTheirPlace)
{
    captured.clear();
    outer = qInstallMessageHandler(capture);
    QObject object;
    object.setObjectName("subject");
    PTAssertHandler::handleFailureInFunction("computeMenu", "PTOpenInControl.cpp", 42);
    PTAssertHandler::handleFailureInMethod("moveObject", &object, "PTGroupController.cpp", 7);
    qInstallMessageHandler(outer);
    ASSERT_EQ(captured.size(), 2) << "release builds go on after a failure";
    EXPECT_EQ(captured[0], QStringLiteral("PTAssertHandler Failure: Function (computeMenu) in PTOpenInControl.cpp#42"));
    EXPECT_TRUE(captured[1].startsWith("PTAssertHandler Failure: Method moveObject for object QObject("));
    EXPECT_TRUE(captured[1].contains("subject"));
    EXPECT_TRUE(captured[1].endsWith(" in PTGroupController.cpp#7"));
}

TEST(PTAssertHandler, HookPassesMessagesOnAndMarksFatalOnes)
{
    captured.clear();
    outer = qInstallMessageHandler(capture);
    PTAssertHandler::install();
    qWarning("plain warning");
    PTAssertHandler::uninstall();
    qWarning("after uninstall");
    qInstallMessageHandler(outer);
    EXPECT_EQ(captured, (QStringList{"plain warning", "after uninstall"}));

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            PTAssertHandler::install();
            qFatal("broken invariant");
        },
        // Release builds carry no message context, so the place may be "?#0"; the message itself follows.
        "PTAssertHandler Failure: Function \\(.*\\) in .*#[0-9]+(.|\n)*broken invariant");
}
