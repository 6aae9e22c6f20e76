#include "transfer/import/PTFileOpenIconHandlerOperation.h"

#include "browser/PTBrowserSidebar.h"
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
    // The set in view is offered as the target; through the one add-icons sheet, so files opened while a sheet is
    // up join it.
    const std::shared_ptr<PTBrowserSidebar> sidebar = PTBrowserSidebar::installed();
    PTAddIconsSheetPresenter().presentImport(urls(), sidebar ? sidebar->currentCollection() : nullptr, QString(),
                                             [done](pt::store::ManagedObject*) { done(); });
}
