#include "TestSupport.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A program that records the moment it started.
QString writeMarkerScript(const QTemporaryDir& folder)
{
    const QString script = folder.filePath(QStringLiteral("app.sh"));
    QFile file(script);
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\ndate +%s%N > \"$(dirname \"$0\")/started\"\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return script;
}

TEST(RelaunchTest, StartsTheApplicationOnlyAfterTheProcessEnded)
{
    QTemporaryDir folder;
    const QString app = writeMarkerScript(folder);
    QProcess running;
    running.start(QStringLiteral("sleep"), {QStringLiteral("0.5")});
    ASSERT_TRUE(running.waitForStarted());

    QProcess relaunch;
    relaunch.start(QStringLiteral(PICTERN_RELAUNCH_BINARY), {app, QString::number(running.processId())});
    ASSERT_TRUE(relaunch.waitForStarted());
    ASSERT_TRUE(running.waitForFinished(5000));
    const qint64 ended = QDateTime::currentMSecsSinceEpoch();
    ASSERT_TRUE(relaunch.waitForFinished(5000));
    EXPECT_EQ(relaunch.exitCode(), 0);

    QFile started(folder.filePath(QStringLiteral("started")));
    ASSERT_TRUE(started.open(QIODevice::ReadOnly)) << "the application was not started";
    const qint64 startedMs = started.readAll().trimmed().toLongLong() / 1000000;
    EXPECT_GE(startedMs, ended - 50) << "started before the old process had ended";
}

TEST(RelaunchTest, RefusesBadArgumentsAndStartsAtOnceForAGoneProcess)
{
    QTemporaryDir folder;
    const QString app = writeMarkerScript(folder);
    struct Case {
        QStringList arguments;
        int code;
    };
    const Case cases[] = {
        {{app}, 2},
        {{app, QStringLiteral("12x")}, 2},
        {{app, QStringLiteral("-5")}, 2},
        {{folder.filePath(QStringLiteral("missing")), QStringLiteral("999999999")}, 1},
        {{app, QStringLiteral("999999999")}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        QProcess relaunch;
        relaunch.start(QStringLiteral(PICTERN_RELAUNCH_BINARY), c.arguments);
        ASSERT_TRUE(relaunch.waitForFinished(5000));
        EXPECT_EQ(relaunch.exitCode(), c.code);
    }
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("started"))));
}

} // namespace
