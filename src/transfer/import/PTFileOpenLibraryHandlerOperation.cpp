#include "transfer/import/PTFileOpenLibraryHandlerOperation.h"

#include "library/PTLibraryController.h"

#include <QFileInfo>

bool PTFileOpenLibraryHandlerOperation::handlesURL(const QUrl& url)
{
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).suffix().toLower() == PTLibraryController::extension().toLower();
}

void PTFileOpenLibraryHandlerOperation::executeWithDone(const Done& done)
{
    if (PTLibraryController* library = PTLibraryController::currentLibrary())
        library->switchLibraryToLibraryAtURL(urls().first().toLocalFile());
    done();
}
