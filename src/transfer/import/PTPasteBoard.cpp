#include "transfer/import/PTPasteBoard.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/DispatchQueue.h"
#include "transfer/import/PTCorruptImagesSheetController.h"
#include "transfer/import/PTImporter2.h"

#include <QFileInfo>
#include <QPointer>

QStringList PTPasteBoard::validateURLStrings(const QStringList& paths, PTImportOptions options) const
{
    QStringList kept;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.isDir() ? !PTImportIsPackage(path) : PTImportPathIsAccepted(path, options))
            kept << path;
    }
    return kept;
}

QList<QUrl> PTPasteBoard::urlsForPathStrings(const QStringList& paths)
{
    QList<QUrl> urls;
    for (const QString& path : paths) {
        const QUrl url(path);
        urls << (url.scheme().isEmpty() || path.startsWith(u'/') ? QUrl::fromLocalFile(path) : url);
    }
    return urls;
}

void PTPasteBoard::importIcons(const QList<QUrl>& urls, PTImportOptions options, pt::store::ManagedObject* target,
                               QWidget* window, std::function<void()> completion)
{
    const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
    std::shared_ptr<PTProgressSheet> sheet = shell ? shell->makeProgressSheet(ImportingTitle) : nullptr;
    if (sheet)
        sheet->beginSession();
    QStringList paths;
    for (const QUrl& url : urls)
        paths << url.toLocalFile();
    auto importer = PTImporter2::create(target, paths, options);
    // The window the issues go on may have closed while the import ran.
    importer->setCompletionHandler([sheet, window = QPointer(window), completion](const PTImporter2::Result& result) {
        if (!result.rejected.isEmpty()) {
            PTCorruptImagesSheetController issues(result.rejected);
            issues.presentSheetFromWindow(window);
        }
        purgeAndNotify();
        pt::DispatchQueue::main().async([sheet, completion] {
            if (sheet)
                sheet->setTitle(ImportCompleteTitle);
            pt::dispatchAfter(CompleteLingerSeconds, pt::DispatchQueue::main(), [sheet, completion] {
                if (sheet)
                    sheet->endSession();
                if (completion)
                    completion();
            });
        });
    });
    importer->begin();
}

void PTPasteBoard::purgeAndNotify()
{
    PTCollectionController::sharedController().purge();
    PTGroupController::sharedController().purge();
    if (PTHasManagedObjectContext())
        PTMainManagedObjectContext()->processPendingChanges();
    PTCollectionController::sharedController().notifyObserversOfDidChange();
}
