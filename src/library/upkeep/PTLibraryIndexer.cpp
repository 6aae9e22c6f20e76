#include "library/upkeep/PTLibraryIndexer.h"

#include "library/store/ContextAdditions.h"
#include "library/entities/PTItem.h"
#include "library/controllers/PTTagController.h"
#include "platform/runtime/Logging.h"
#include "platform/store/ObjectContext.h"

using pt::store::DidSave;
using pt::store::ManagedObject;
using pt::store::ObjectContext;

DidSave PTLibraryIndexer::reindex(const std::shared_ptr<pt::store::StoreCoordinator>& coordinator)
{
    ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
    context.setMergePolicy(pt::store::MergePolicy::StoreTrumpByProperty);
    DidSave saved;
    const auto token = context.onDidSave([&saved](const DidSave& changes) { saved = changes; });
    pt::store::FetchRequest request;
    request.entityName = QStringLiteral("PTItem");
    request.returnsObjectsAsFaults = false;
    request.prefetch = {QStringLiteral("collection")};
    auto items = context.fetch(request);
    if (!items) {
        qCWarning(lcLibrary).noquote() << "re-index: items not read:" << items.error().toString();
        return {};
    }
    for (ManagedObject* object : std::as_const(*items)) {
        PTItem* item = PTItem::from(object);
        if (!item)
            continue;
        item->reapplyNormalizedStrings();
        PTTagController::autoApplyTagsToItem(item);
        const QUrl file = item->fileURL();
        if (!file.isEmpty())
            PTTagController::applyTagsFromResourceValue(item, file.toLocalFile());
    }
    if (auto r = context.save(); !r)
        qCWarning(lcLibrary).noquote() << "re-index: not saved:" << r.error().toString();
    context.processPendingChanges();
    contextAdditions::resetAndBreakCycles(context);
    return saved;
}
