#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// SIGTERM and SIGINT quit the real application the normal way: the final save, then exit code 0.
TEST(TerminationSignalTest, ASignalQuitsAfterTheSave)
{
    for (int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        QTemporaryDir home;
        QDir(home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
        QProcess app;
        app.setProcessEnvironment(environment);
        app.start(QStringLiteral(PICTERN_APP_BINARY), {});
        ASSERT_TRUE(app.waitForStarted());
        // The library's lock shows that the launch got as far as the store.
        const QDir runtime(home.filePath(QStringLiteral("runtime")));
        ASSERT_TRUE(pt::test::runMainQueueUntil(
            [&] { return !runtime.entryList({QStringLiteral("pictern-library-*.lock")}, QDir::Files).isEmpty(); }, 20000));
        pt::test::runMainQueueFor(300);
        ASSERT_EQ(app.state(), QProcess::Running);
        ::kill(pid_t(app.processId()), signal);
        ASSERT_TRUE(app.waitForFinished(20000));
        EXPECT_EQ(app.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(app.exitCode(), 0) << app.readAllStandardError().toStdString();
        EXPECT_TRUE(runtime.entryList({QStringLiteral("pictern-library-*.lock")}, QDir::Files).isEmpty())
            << "the lock goes with the process";
    }
}

} // namespace
