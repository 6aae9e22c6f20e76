#include "library/controllers/PTAppDataProvider.h"

#include "library/entities/PTLicence.h"
#include "library/controllers/PTLicenceController.h"

bool PTAppDataProvider::insertLicences(pt::store::ObjectContext& context, const QVector<Licence>& licences)
{
    for (const Licence& entry : licences) {
        PTLicence* licence = PTLicenceController::sharedController().createLicenceInContext(&context);
        if (!licence)
            return false;
        licence->setName(entry.name);
        licence->setUrl(entry.url);
    }
    return true;
}
