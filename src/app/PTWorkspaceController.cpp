#include "app/PTWorkspaceController.h"

#include "platform/runtime/Logging.h"
#include "ui/sheets/PTAlertController.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDesktopServices>
#include <QFileInfo>

namespace {

const QString FileManagerService = QStringLiteral("org.freedesktop.FileManager1");

void openParentFolders(const QList<QUrl>& urls)
{
    QList<QUrl> folders;
    for (const QUrl& url : urls) {
        const QUrl folder = QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).absolutePath());
        if (!folders.contains(folder))
            folders.append(folder);
    }
    for (const QUrl& folder : folders)
        QDesktopServices::openUrl(folder);
}

} // namespace

void PTWorkspaceController::showFileURLsInFinder(const QList<QUrl>& urls)
{
    PTAlertController::presentAlertWithTitle(
        QCoreApplication::translate("PTWorkspaceController", "Showing files in the file manager"),
        QCoreApplication::translate("PTWorkspaceController",
                                    "Change or move files only through Pictern, or the library loses track of them."),
        false, OpenInFinderWarningKey, [urls](bool) { showFileURLsInFinderWithoutWarning(urls); });
}

void PTWorkspaceController::showFileURLsInFinderWithoutWarning(const QList<QUrl>& urls)
{
    if (urls.isEmpty())
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openParentFolders(urls);
        return;
    }
    QStringList uris;
    for (const QUrl& url : urls)
        uris.append(url.toString(QUrl::FullyEncoded));
    QDBusMessage call = QDBusMessage::createMethodCall(FileManagerService, QStringLiteral("/org/freedesktop/FileManager1"),
                                                       FileManagerService, QStringLiteral("ShowItems"));
    call << uris << QString();
    // Without a file manager on the bus the call fails (no owner), and the folders open instead.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [watcher, urls] {
        if (watcher->isError()) {
            qCInfo(lcApp).noquote() << "No file manager shows items:" << watcher->error().message();
            openParentFolders(urls);
        }
        watcher->deleteLater();
    });
}
