#include "transfer/import/PTAddIconsSheetPresenter.h"

#include "library/entities/PTCollection.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/store/ObjectContext.h"
#include "transfer/import/PTAddCollectionSheetController.h"
#include "ui/PTMainWindow.h"

#include <QPointer>

#include <vector>

namespace {

// A request made while the sheet imported; its set is kept by ID, as it may be gone by the time it is presented.
struct WaitingRequest {
    QList<QUrl> files;
    pt::store::ObjectID preselected;
    QString requestingApplication;
    PTAddIconsPresenter::Finished finished;
};

struct PresentedSheet {
    QPointer<PTAddCollectionSheetController> sheet;
    // The application the sheet names; only its own further requests join the sheet.
    QString requestingApplication;
    std::vector<PTAddIconsPresenter::Finished> finished;
    std::vector<WaitingRequest> waiting;
};

PresentedSheet& presented()
{
    static PresentedSheet state;
    return state;
}

PTCollection* collectionWithID(const pt::store::ObjectID& id)
{
    if (id.isNull() || !PTHasManagedObjectContext())
        return nullptr;
    PTCollection* set = PTCollection::from(PTMainManagedObjectContext()->existingObjectWithID(id));
    return set && !set->isDeleted() ? set : nullptr;
}

} // namespace

void PTAddIconsSheetPresenter::presentNewCollection(PTCollection* target)
{
    presentImport({}, target, QString(), {});
}

void PTAddIconsSheetPresenter::presentImport(const QList<QUrl>& files, PTCollection* preselected,
                                             const QString& requestingApplication, Finished finished)
{
    PresentedSheet& state = presented();
    if (state.sheet) {
        if (requestingApplication != state.requestingApplication || !state.sheet->joinURLs(files))
            state.waiting.push_back(
                {files, preselected ? preselected->objectID() : pt::store::ObjectID(), requestingApplication,
                 std::move(finished)});
        else if (finished)
            state.finished.push_back(std::move(finished));
        return;
    }
    auto* sheet = new PTAddCollectionSheetController;
    state.sheet = sheet;
    state.requestingApplication = requestingApplication;
    state.finished.clear();
    if (finished)
        state.finished.push_back(std::move(finished));
    if (!requestingApplication.isEmpty())
        sheet->setRequestedApplication(requestingApplication);
    const auto type = preselected ? PTAddCollectionSheetController::PreselectCollection
                                  : PTAddCollectionSheetController::NoPreselection;
    sheet->presentSheetFromWindow(
        PTMainWindow(), type, files, preselected, [sheet](pt::store::ManagedObject* target, bool cancelled) {
            sheet->deleteLater();
            PresentedSheet& state = presented();
            state.sheet = nullptr;
            const std::vector<Finished> handlers = std::exchange(state.finished, {});
            const std::vector<WaitingRequest> waiting = std::exchange(state.waiting, {});
            for (const Finished& handler : handlers)
                handler(cancelled ? nullptr : target);
            for (const WaitingRequest& request : waiting)
                PTAddIconsSheetPresenter().presentImport(request.files, collectionWithID(request.preselected),
                                                         request.requestingApplication, request.finished);
        });
}
