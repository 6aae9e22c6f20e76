#include "app/autostart/LaunchAtLoginController.h"

#include "app/autostart/DesktopEntry.h"

#include "platform/runtime/Logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSaveFile>
#include <QStandardPaths>

const QString LaunchAtLoginController::EntryName = QStringLiteral("com.pictern.Pictern.desktop");

namespace {

QString environmentPath(const char* name, const QString& fallback)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback : value;
}

bool isFalse(const QString& value)
{
    return value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0;
}

bool isTrue(const QString& value)
{
    return value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

} // namespace

LaunchAtLoginController::LaunchAtLoginController(QObject* parent, const QString& executable)
    : QObject(parent),
      executable_(executable.isEmpty() ? QCoreApplication::applicationFilePath() : executable),
      watcher_(new QFileSystemWatcher(this))
{
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &LaunchAtLoginController::recheck);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &LaunchAtLoginController::recheck);
    lastKnown_ = launchAtLogin();
    watch();
}

LaunchAtLoginController::~LaunchAtLoginController() = default;

QString LaunchAtLoginController::userEntryPath()
{
    const QString config = environmentPath("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
    return config + QStringLiteral("/autostart/") + EntryName;
}

QString LaunchAtLoginController::systemEntryPath()
{
    const QStringList dirs = environmentPath("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg")).split(u':', Qt::SkipEmptyParts);
    for (const QString& dir : dirs) {
        const QString path = dir + QStringLiteral("/autostart/") + EntryName;
        if (QFileInfo::exists(path))
            return path;
    }
    return {};
}

bool LaunchAtLoginController::launchAtLogin() const
{
    const QString user = userEntryPath();
    return entryStartsUs(QFileInfo::exists(user) ? user : systemEntryPath());
}

bool LaunchAtLoginController::entryStartsUs(const QString& path) const
{
    if (path.isEmpty())
        return false;
    const QMap<QString, QString> entry = DesktopEntry::readFile(path);
    if (isTrue(entry.value(QStringLiteral("Hidden"))) ||
        isFalse(entry.value(QStringLiteral("X-GNOME-Autostart-enabled"))))
        return false;
    const QStringList arguments = DesktopEntry::splitExec(entry.value(QStringLiteral("Exec")));
    if (arguments.isEmpty())
        return false;
    const QString program = QFileInfo(arguments.first()).isAbsolute()
                                ? arguments.first()
                                : QStandardPaths::findExecutable(arguments.first());
    const QString resolved = QFileInfo(program).canonicalFilePath();
    return !resolved.isEmpty() && resolved == QFileInfo(executable_).canonicalFilePath();
}

bool LaunchAtLoginController::setLaunchAtLogin(bool launch)
{
    const QString path = userEntryPath();
    bool written = true;
    if (launch || !systemEntryPath().isEmpty()) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Pictern\n");
        text += launch ? QStringLiteral("Exec=%1\nX-GNOME-Autostart-enabled=true\n")
                             .arg(DesktopEntry::execValue({executable_}))
                       : QStringLiteral("Hidden=true\n");
        written = file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
    } else if (QFileInfo::exists(path)) {
        written = QFile::remove(path);
    }
    if (!written)
        qCWarning(lcApp) << "Could not change the autostart entry" << path;
    watch();
    recheck();
    return written;
}

void LaunchAtLoginController::watch()
{
    const QString path = userEntryPath();
    const QString dir = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(dir) && !watcher_->directories().contains(dir))
        watcher_->addPath(dir);
    if (QFileInfo::exists(path) && !watcher_->files().contains(path))
        watcher_->addPath(path);
}

void LaunchAtLoginController::recheck()
{
    watch();
    const bool now = launchAtLogin();
    if (now == lastKnown_)
        return;
    lastKnown_ = now;
    Q_EMIT launchAtLoginChanged(now);
}
