#include "TestSupport.h"

#include "app/PTLibraryLock.h"
#include "app/PTSingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSysInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// A private connection to the test's session bus: a process of its own, as the bus sees it.
QDBusConnection connection(const QString& name)
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("first"));
        QDBusConnection::disconnectFromBus(QStringLiteral("second"));
    }
};

TEST_F(SingleInstanceTest, ASecondLaunchHandsItsArgumentsToTheFirst)
{
    QDBusConnection first = connection(QStringLiteral("first"));
    QDBusConnection second = connection(QStringLiteral("second"));
    ASSERT_TRUE(first.isConnected());
    PTSingleInstance primary(first);
    ASSERT_TRUE(primary.registerPrimary());
    PTSingleInstance other(second);
    EXPECT_FALSE(other.registerPrimary()) << "the name is taken";

    QList<QUrl> opened;
    int activations = 0;
    QObject::connect(&primary, &PTSingleInstance::openRequested, [&](const QList<QUrl>& urls) { opened = urls; });
    QObject::connect(&primary, &PTSingleInstance::activateRequested, [&] { ++activations; });

    // The call blocks the caller, so the first instance answers from another thread's point of view: run the
    // forward where its reply can be served.
    bool forwarded = false;
    QMetaObject::invokeMethod(&primary, [&] {}, Qt::QueuedConnection);
    std::thread caller([&] {
        forwarded = PTSingleInstance::forward(second, {QStringLiteral("sets/a b.svg"), QStringLiteral("pictern://preferences")},
                                              QStringLiteral("/work/here"), QStringLiteral("token-1"));
    });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !opened.isEmpty(); }));
    caller.join();
    EXPECT_TRUE(forwarded);
    EXPECT_EQ(opened, (QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/work/here/sets/a b.svg")),
                                   QUrl(QStringLiteral("pictern://preferences"))}));
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"), QStringLiteral("token-1"));

    std::thread activator([&] { PTSingleInstance::forward(second, {}, QStringLiteral("/"), {}); });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return activations == 2; }));
    activator.join();
}

// The real binary, started while the name is ours, hands over its file as a URI against its own working folder
// and exits 0 without opening anything.
TEST_F(SingleInstanceTest, TheApplicationForwardsToTheRunningInstance)
{
    QDBusConnection first = connection(QStringLiteral("first"));
    PTSingleInstance primary(first);
    ASSERT_TRUE(primary.registerPrimary());
    QList<QUrl> opened;
    QObject::connect(&primary, &PTSingleInstance::openRequested, [&](const QList<QUrl>& urls) { opened = urls; });

    QTemporaryDir folder;
    QProcess launch;
    launch.setWorkingDirectory(folder.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), folder.filePath(QStringLiteral("data")));
    launch.setProcessEnvironment(environment);
    launch.start(QStringLiteral(PICTERN_APP_BINARY), {QStringLiteral("dropped.svg")});
    ASSERT_TRUE(launch.waitForStarted());
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return launch.state() == QProcess::NotRunning; }, 20000));
    EXPECT_EQ(launch.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(launch.exitCode(), 0) << launch.readAllStandardError().toStdString();
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(QDir(folder.path()).filePath(QStringLiteral("dropped.svg")))});
    EXPECT_FALSE(QDir(folder.filePath(QStringLiteral("data"))).exists()) << "the second launch opened no library";
}

// Without a bus only the lock keeps a second process away from the store.
TEST(LibraryLockTest, ASecondProcessIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir folder;
    const QString library = folder.filePath(QStringLiteral("Lib.ptlibrary"));
    QDir().mkpath(library);
    const auto lockedInChild = [&library] {
        const pid_t child = ::fork();
        if (child == 0) {
            PTLibraryLock lock(library);
            ::_exit(lock.tryLock() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };

    auto lock = std::make_unique<PTLibraryLock>(library);
    ASSERT_TRUE(lock->tryLock());
    EXPECT_FALSE(lockedInChild()) << "a second process takes the lock of an open library";
    // The same library by another spelling of its path is the same lock.
    EXPECT_EQ(PTLibraryLock(folder.filePath(QStringLiteral("./Lib.ptlibrary/"))).lockFilePath(), lock->lockFilePath());
    lock.reset();
    EXPECT_TRUE(lockedInChild());
}

// What a lock file holds decides whether a launch takes it over: a named living owner keeps it however old the
// file, a named dead one and a file naming nobody past the grace period give it up (a launch killed between
// creating and writing the lock leaves one), and a fresh unnamed one is waited out, since its owner may be
// writing its name right now.
TEST(LibraryLockTest, ALockNamingNoLivingOwnerIsTakenOver)
{
    QProcess living;
    living.start(QStringLiteral("sleep"), {QStringLiteral("60")});
    ASSERT_TRUE(living.waitForStarted());
    QProcess finished;
    finished.start(QStringLiteral("true"), {});
    ASSERT_TRUE(finished.waitForStarted());
    const qint64 deadPid = finished.processId();
    ASSERT_TRUE(finished.waitForFinished());
    const auto owner = [](qint64 pid, const char* application) {
        return QByteArray::number(pid) + '\n' + application + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
    };
    enum class Later { Nothing, NamesLivingOwner };
    using std::chrono::milliseconds;
    const milliseconds fresh{0};
    const milliseconds old = 2 * PTLibraryLock::UnnamedLockGrace;
    // Well past the age at which a lock would count as stale by its age alone.
    const milliseconds hoursOld = std::chrono::hours(5);
    const struct {
        const char* name;
        QByteArray contents;
        milliseconds age;
        Later later;
        bool taken;
    } cases[] = {
        {"empty, old", "", old, Later::Nothing, true},
        {"empty, fresh, stays empty", "", fresh, Later::Nothing, true},
        {"empty, fresh, then named by its living owner", "", fresh, Later::NamesLivingOwner, false},
        {"garbage, old", "\x01\xffnot a pid\n\n", old, Later::Nothing, true},
        {"living owner, old", owner(living.processId(), "sleep"), old, Later::Nothing, false},
        {"living owner, hours old", owner(living.processId(), "sleep"), hoursOld, Later::Nothing, false},
        {"dead owner", owner(deadPid, "true"), fresh, Later::Nothing, true},
    };
    QTemporaryDir folder;
    const QString library = folder.filePath(QStringLiteral("Lib.ptlibrary"));
    QDir().mkpath(library);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PTLibraryLock lock(library);
        QFile file(lock.lockFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.contents);
        file.flush();
        if (c.age > fresh)
            file.setFileTime(QDateTime::currentDateTime().addMSecs(-c.age.count()), QFileDevice::FileModificationTime);
        file.close();
        std::thread naming;
        if (c.later == Later::NamesLivingOwner)
            naming = std::thread([&] {
                std::this_thread::sleep_for(PTLibraryLock::UnnamedLockGrace / 4);
                QFile named(lock.lockFilePath());
                if (named.open(QIODevice::WriteOnly | QIODevice::Append))
                    named.write(owner(living.processId(), "sleep"));
            });
        EXPECT_EQ(lock.tryLock(), c.taken);
        if (naming.joinable())
            naming.join();
        if (!c.taken)
            EXPECT_TRUE(QFile::remove(lock.lockFilePath()));
    }
    living.kill();
    living.waitForFinished();
}

// A stale lock file is taken over one launch at a time: the take-over removes it by name, and a launch that
// did so after another had already made its own lock would unlink that one, leaving two processes on the store.
TEST(LibraryLockTest, StaleLocksAreTakenOverOneLaunchAtATime)
{
    QTemporaryDir folder;
    const QString library = folder.filePath(QStringLiteral("Lib.ptlibrary"));
    QDir().mkpath(library);
    const QString lockFile = PTLibraryLock(library).lockFilePath();
    const auto leaveStaleLock = [&] {
        QFile file(lockFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.close();
        file.setFileTime(QDateTime::currentDateTime().addMSecs(-2 * PTLibraryLock::UnnamedLockGrace.count()),
                         QFileDevice::FileModificationTime);
    };

    // While another launch takes the file over, this one leaves it alone and finds it still stale.
    leaveStaleLock();
    {
        QLockFile takingOver(lockFile + PTLibraryLock::TakeOverSuffix);
        ASSERT_TRUE(takingOver.tryLock(0));
        EXPECT_EQ(pt::test::runInBoundedChild(qint64(256) << 20, 30, [&] {
            PTLibraryLock lock(library);
            return lock.tryLock() ? 1 : 0;
        }), 0) << "1: the lock was taken during another take-over";
        EXPECT_TRUE(QFileInfo::exists(lockFile));
    }

    // Launches racing for the same stale file: never more than one holds the library.
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        leaveStaleLock();
        constexpr int Launches = 6;
        int holders[2];
        ASSERT_EQ(::pipe(holders), 0);
        std::vector<pid_t> children;
        for (int launch = 0; launch < Launches; ++launch) {
            const pid_t child = ::fork();
            if (child == 0) {
                ::close(holders[0]);
                PTLibraryLock lock(library);
                if (lock.tryLock()) {
                    const char held = 'x';
                    (void)!::write(holders[1], &held, 1);
                    // Held well past the others' attempts.
                    std::this_thread::sleep_for(PTLibraryLock::UnnamedLockGrace + std::chrono::seconds(1));
                }
                ::_exit(0);
            }
            children.push_back(child);
        }
        ::close(holders[1]);
        for (const pid_t child : children)
            ::waitpid(child, nullptr, 0);
        char held[Launches];
        EXPECT_EQ(::read(holders[0], held, sizeof held), 1);
        ::close(holders[0]);
    }
}

} // namespace
