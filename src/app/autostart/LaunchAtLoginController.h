#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;

// Starting Pictern at login, through an XDG autostart entry named after the application. It is on when the
// entry the session would use (ours in the user's autostart folder, else a system-wide one of that name) is
// neither hidden nor disabled and starts this executable; an entry that starts another program is never taken
// for ours. Changes made outside (a settings tool deleting the file) are announced through launchAtLoginChanged.
class LaunchAtLoginController : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin WRITE setLaunchAtLogin NOTIFY launchAtLoginChanged)
public:
    static const QString EntryName; // "com.pictern.Pictern.desktop"

    // The executable defaults to the running one.
    explicit LaunchAtLoginController(QObject* parent = nullptr, const QString& executable = QString());
    ~LaunchAtLoginController() override;

    bool launchAtLogin() const;
    // Writes our entry, or takes it away: deleting our file, or hiding a system-wide entry with one of ours.
    // Answers false when the file could not be written or removed.
    bool setLaunchAtLogin(bool launch);

    // $XDG_CONFIG_HOME/autostart/<EntryName>, and the first system-wide entry of that name (empty when none).
    static QString userEntryPath();
    static QString systemEntryPath();

Q_SIGNALS:
    void launchAtLoginChanged(bool launch);

private:
    bool entryStartsUs(const QString& path) const;
    void watch();
    void recheck();

    QString executable_;
    QFileSystemWatcher* watcher_;
    bool lastKnown_ = false;
};
