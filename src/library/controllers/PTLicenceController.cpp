#include "library/controllers/PTLicenceController.h"

#include "library/entities/PTCollection.h"
#include "library/controllers/PTConfirmation.h"
#include "library/entities/PTItem.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Logging.h"
#include "platform/runtime/NotificationCenter.h"

PTLicenceController& PTLicenceController::sharedController()
{
    static PTLicenceController controller;
    return controller;
}

const pt::store::EntityDescription* PTLicenceController::entity() const
{
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    return context ? context->coordinator()->model().entity(PTLicence::EntityName) : nullptr;
}

QVector<PTLicence*> PTLicenceController::licences()
{
    if (!licences_) {
        pt::store::ObjectContext* context = PTMainManagedObjectContext();
        if (!context)
            return {};
        const auto fetched = context->fetch({PTLicence::EntityName});
        if (!fetched) {
            qCWarning(lcLibrary).noquote() << fetched.error().toString();
            return {};
        }
        QVector<PTLicence*> list;
        for (pt::store::ManagedObject* object : *fetched)
            list.append(PTLicence::from(object));
        licences_ = list;
    }
    return *licences_;
}

void PTLicenceController::purge()
{
    licences_.reset();
}

PTLicence* PTLicenceController::licenceForObjectURLString(const QString& uri)
{
    return PTLicence::from(PTMainContextObjectWithURIString(uri));
}

PTLicence* PTLicenceController::createLicenceInContext(pt::store::ObjectContext* context)
{
    if (!context)
        context = PTMainManagedObjectContext();
    if (!context)
        return nullptr;
    PTLicence* licence = PTLicence::insert(*context);
    if (auto obtained = context->obtainPermanentIDs({licence}); !obtained)
        qCWarning(lcLibrary).noquote() << obtained.error().toString();
    if (licences_ && context == PTMainManagedObjectContext())
        licences_->append(licence);
    return licence;
}

void PTLicenceController::removeLicencesWithAlert(const QVector<PTLicence*>& licences)
{
    const bool inUse = std::any_of(licences.begin(), licences.end(), [](PTLicence* licence) {
        return !licence->items().isEmpty() || !licence->collections().isEmpty();
    });
    if (inUse
        && !PTConfirmation::confirm(QStringLiteral("Are you sure?"),
                                    QStringLiteral("Are you sure you want to delete this Licence?\nThis licence is "
                                                   "being used by one or more Sets and will be removed from those "
                                                   "Sets."),
                                    DeleteSuppressKey))
        return;
    removeLicences(licences);
}

void PTLicenceController::removeLicences(const QVector<PTLicence*>& licences)
{
    for (PTLicence* licence : licences) {
        for (PTCollection* set : licence->collections())
            set->setLicence(nullptr);
        for (PTItem* item : licence->items())
            item->setLicence(nullptr);
        licence->context()->deleteObject(licence);
        if (licences_)
            licences_->removeAll(licence);
    }
    notifyObserversOfDidChange();
}

void PTLicenceController::notifyObserversOfDidChange()
{
    pt::NotificationCenter::defaultCenter().post(LicencesDidChangeNotification, this);
}
