#include "app/PTApplicationAdaptor.h"

#include "app/PTSingleInstance.h"
#include "platform/runtime/Logging.h"

PTApplicationAdaptor::PTApplicationAdaptor(PTSingleInstance* instance)
    : QDBusAbstractAdaptor(instance)
    , instance_(instance)
{
}

void PTApplicationAdaptor::Activate(const QVariantMap& platformData)
{
    instance_->handleActivate(platformData);
}

void PTApplicationAdaptor::Open(const QStringList& uris, const QVariantMap& platformData)
{
    instance_->handleOpen(uris, platformData);
}

void PTApplicationAdaptor::ActivateAction(const QString& name, const QVariantList&, const QVariantMap& platformData)
{
    // Pictern exports no actions; being asked for one still brings it forward.
    qCInfo(lcApp) << "No action" << name;
    instance_->handleActivate(platformData);
}
