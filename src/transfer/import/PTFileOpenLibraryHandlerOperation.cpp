#include "transfer/import/PTFileOpenLibraryHandlerOperation.h"

#include "library/PTLibraryController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "transfer/PTURLDownloader.h"

#include <QFileInfo>

bool PTFileOpenLibraryHandlerOperation::handlesURL(const QUrl& url)
{
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).suffix().toLower() == PTLibraryController::extension().toLower();
}

void PTFileOpenLibraryHandlerOperation::executeWithDone(const Done& done)
{
    PTLibraryController* library = PTLibraryController::currentLibrary();
    const QString path = urls().first().toLocalFile();
    if (library && PTURLDownloader::isInDownloadsFolder(path))
        switchToDownloadedLibrary(*library, path);
    else if (library)
        library->switchLibraryToLibraryAtURL(path);
    done();
}

void PTFileOpenLibraryHandlerOperation::switchToDownloadedLibrary(PTLibraryController& library, const QString& path)
{
    // A library never stays in the download cache, whose clean-up of old downloads would take it along: it moves
    // to the user's data folder, beside the default library, first.
    pt::Error error;
    const QString moved = PTLibraryController::movePackage(
        path, PTLibraryController::unusedLocationInBaseDirectory(QFileInfo(path).fileName()), &error);
    if (moved.isEmpty()) {
        if (const auto shell = PTLibraryShell::installed())
            shell->presentError(error);
        return;
    }
    // A refused package goes back where it came from rather than lingering beside the user's libraries.
    if (!library.switchLibraryToLibraryAtURL(moved))
        PTLibraryController::movePackage(moved, path, nullptr);
}
