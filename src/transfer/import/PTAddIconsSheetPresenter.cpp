#include "transfer/import/PTAddIconsSheetPresenter.h"

#include "transfer/import/PTAddCollectionSheetController.h"
#include "ui/PTMainWindow.h"

void PTAddIconsSheetPresenter::presentNewCollection(PTCollection* target)
{
    presentImport({}, target, QString(), {});
}

void PTAddIconsSheetPresenter::presentImport(const QList<QUrl>& files, PTCollection* preselected,
                                             const QString& requestingApplication, Finished finished)
{
    auto* sheet = new PTAddCollectionSheetController;
    if (!requestingApplication.isEmpty())
        sheet->setRequestedApplication(requestingApplication);
    const auto type = preselected ? PTAddCollectionSheetController::PreselectCollection
                                  : PTAddCollectionSheetController::NoPreselection;
    sheet->presentSheetFromWindow(PTMainWindow(), type, files, preselected,
                                  [sheet, finished](pt::store::ManagedObject* target, bool cancelled) {
                                      sheet->deleteLater();
                                      if (finished)
                                          finished(cancelled ? nullptr : target);
                                  });
}
