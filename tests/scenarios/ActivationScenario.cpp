#include "ScenarioTest.h"

#include "app/PTWindow.h"
#include "app/preferences/PTPreferencesController.h"

#include <QApplication>
#include <QProcess>
#include <QTest>
#include <QWindow>

namespace {

using ActivationScenario = ScenarioTest;

// The user turns to another application: a window that is not Pictern's takes the keys, and goes.
void leaveForAnotherApplication()
{
    QWindow elsewhere;
    elsewhere.resize(100, 100);
    elsewhere.show();
    elsewhere.requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
}

QWidget* preferencesWindow()
{
    return PTPreferencesController::sharedController().preferencesWindow();
}

// The preferences window in front of the main window stays in front when the user comes back to Pictern, and a
// second `pictern` brings it forward again.
TEST_F(ActivationScenario, PreferencesInFrontStayInFrontWhenTheUserComesBack)
{
    press(QKeySequence(QStringLiteral("Ctrl+,")));
    ASSERT_TRUE(waitFor([] { return preferencesWindow() && QApplication::activeWindow() == preferencesWindow(); }))
        << "Ctrl+, showed no preferences";

    // Back by the desktop's window switcher, which activates the window that was in front.
    leaveForAnotherApplication();
    preferencesWindow()->activateWindow();
    ASSERT_TRUE(waitFor([] { return QApplication::activeWindow() == preferencesWindow(); }));
    // Offscreen windows never take the application's state from active, so the desktop's word that the user is
    // back is passed on as it arrives.
    emit qApp->applicationStateChanged(Qt::ApplicationActive);
    QTest::qWait(200);
    EXPECT_EQ(QApplication::activeWindow(), preferencesWindow()) << "the main window took the keys";

    // Back by starting Pictern again: the running one is asked over the bus and brings its last window forward.
    leaveForAnotherApplication();
    QProcess again;
    again.start(QStringLiteral(PICTERN_APP_BINARY), {});
    ASSERT_TRUE(again.waitForStarted());
    ASSERT_TRUE(waitFor([&] { return again.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(again.exitCode(), 0) << again.readAllStandardError().toStdString();
    EXPECT_TRUE(waitFor([] { return QApplication::activeWindow() == preferencesWindow(); }))
        << "the second launch brought forward "
        << (QApplication::activeWindow() ? QApplication::activeWindow()->accessibleName().toStdString() : "nothing");
    EXPECT_TRUE(window()->isVisible());
}

} // namespace
