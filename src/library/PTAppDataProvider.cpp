#include "library/PTAppDataProvider.h"

#include "library/PTLicence.h"
#include "library/PTLicenceController.h"

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
