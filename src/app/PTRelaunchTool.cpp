#include "app/PTRelaunchTool.h"

#include "platform/runtime/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

QString PTRelaunchTool::path()
{
    const QDir here(QCoreApplication::applicationDirPath());
    for (const QString& candidate : {here.filePath(QStringLiteral("relaunch")),
                                     here.filePath(QStringLiteral("../libexec/pictern/relaunch"))}) {
        const QFileInfo info(candidate);
        if (info.isFile() && info.isExecutable())
            return info.canonicalFilePath();
    }
    return {};
}

bool PTRelaunchTool::start(const QString& application, qint64 pid)
{
    const QString tool = path();
    if (tool.isEmpty()) {
        qCWarning(lcApp) << "The relaunch tool is missing";
        return false;
    }
    return QProcess::startDetached(tool, {application, QString::number(pid)});
}
