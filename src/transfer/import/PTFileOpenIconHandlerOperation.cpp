#include "transfer/import/PTFileOpenIconHandlerOperation.h"

#include "transfer/import/PTAddIconsSheetPresenter.h"
#include "transfer/import/PTPasteBoard.h"

bool PTFileOpenIconHandlerOperation::handlesURL(const QUrl& url)
{
    if (!url.isLocalFile())
        return false;
    const QString path = url.toLocalFile();
    return PTPasteBoard().validateURLStrings({path}, PTImportOption::All) == QStringList{path};
}

void PTFileOpenIconHandlerOperation::executeWithDone(const Done& done)
{
    // Through the one add-icons sheet: files opened while a sheet is up join it.
    PTAddIconsSheetPresenter().presentImport(urls(), nullptr, QString(),
                                             [done](pt::store::ManagedObject*) { done(); });
}
