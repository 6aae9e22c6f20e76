#include "transfer/import/PTFileOpenIconHandlerOperation.h"

#include "transfer/import/PTAddCollectionSheetController.h"
#include "transfer/import/PTPasteBoard.h"
#include "ui/PTMainWindow.h"

bool PTFileOpenIconHandlerOperation::handlesURL(const QUrl& url)
{
    if (!url.isLocalFile())
        return false;
    const QString path = url.toLocalFile();
    return PTPasteBoard().validateURLStrings({path}, PTImportOption::All) == QStringList{path};
}

void PTFileOpenIconHandlerOperation::executeWithDone(const Done& done)
{
    // The sheet lives until it has finished; its handler lets it go.
    auto* sheet = new PTAddCollectionSheetController;
    sheet->presentSheetFromWindow(PTMainWindow(), PTAddCollectionSheetController::NoPreselection, urls(), nullptr,
                                  [sheet, done](pt::store::ManagedObject*, bool) {
                                      sheet->deleteLater();
                                      done();
                                  });
}
