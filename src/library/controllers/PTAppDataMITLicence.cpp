#include "library/controllers/PTAppDataMITLicence.h"

bool PTAppDataMITLicence::provideDataInContext(pt::store::ObjectContext& context) const
{
    return insertLicences(context, {{QStringLiteral("MIT"), QStringLiteral("https://opensource.org/licenses/MIT")}});
}
