#include "transfer/replace/PTReplacementImporter.h"

#include "browser/cache/PTImageCache.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "transfer/import/PTCorruptImagesSheetController.h"
#include "transfer/import/PTImporter2.h"
#include "ui/PTMainWindow.h"

void PTReplacementImporter::importPaths(const QStringList& paths, PTCollection* set, quint64 options,
                                        Completion completion)
{
    const std::shared_ptr<PTImporter2> importer = PTImporter2::create(set, paths, options);
    importer->setCompletionHandler([paths, completion = std::move(completion)](const PTImporter2::Result& result) {
        Result answer;
        answer.items = result.items;
        for (const PTImporter2::Rejected& file : result.rejected)
            answer.unreadable.append({file.path, file.reason});
        // The importer passes over files of types it does not take without a word; here the user chose the file
        // to replace an icon with, and hears why nothing came of it.
        if (answer.items.isEmpty() && answer.unreadable.isEmpty()) {
            for (const QString& path : paths)
                answer.unreadable.append({path, PTCorruptImagesSheetController::NoIconReason});
        }
        completion(answer);
    });
    importer->begin();
}

void PTReplacementImporter::presentCorruptImages(const QVector<Unreadable>& files)
{
    QVector<PTImporter2::Rejected> rejected;
    for (const Unreadable& file : files)
        rejected.append({file.path, file.reason});
    PTCorruptImagesSheetController sheet(rejected);
    sheet.presentSheetFromWindow(PTMainWindow());
}

void PTReplacementImporter::purgeImagesOfItem(PTItem* item)
{
    PTImageCache::sharedCache().purgeImageForObjectID(item->objectID());
}
