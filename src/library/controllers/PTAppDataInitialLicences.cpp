#include "library/controllers/PTAppDataInitialLicences.h"

bool PTAppDataInitialLicences::provideDataInContext(pt::store::ObjectContext& context) const
{
    return insertLicences(
        context,
        {
            {QStringLiteral("Apache 2.0 License"), QStringLiteral("https://www.apache.org/licenses/LICENSE-2.0")},
            {QStringLiteral("GNU General Public License"), QStringLiteral("https://www.gnu.org/licenses/gpl-3.0.html")},
            {QStringLiteral("Creative Commons Attribution"), QStringLiteral("https://creativecommons.org/licenses/by/3.0/")},
            {QStringLiteral("Creative Commons Attribution-ShareAlike"),
             QStringLiteral("https://creativecommons.org/licenses/by-sa/4.0/")},
            {QStringLiteral("Creative Commons Attribution-NoDerivs"),
             QStringLiteral("https://creativecommons.org/licenses/by-nd/4.0/")},
            {QStringLiteral("Creative Commons Attribution-NonCommercial"),
             QStringLiteral("https://creativecommons.org/licenses/by-nc/4.0/")},
            {QStringLiteral("Creative Commons Attribution-NonCommercial-ShareAlike"),
             QStringLiteral("https://creativecommons.org/licenses/by-nc-sa/4.0/")},
            {QStringLiteral("Creative Commons Attribution-NonCommercial-NoDerivs"),
             QStringLiteral("https://creativecommons.org/licenses/by-nc-nd/4.0/")},
        });
}
