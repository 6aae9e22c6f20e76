#include "app/PTBuildInfo.h"

namespace PTBuildInfo {

QString version()
{
    return QStringLiteral(PICTERN_VERSION);
}

QString buildNumber()
{
    return QStringLiteral(PICTERN_BUILD_NUMBER);
}

QString distribution()
{
    return QStringLiteral(PICTERN_DISTRIBUTION);
}

QString helpURL()
{
    return QStringLiteral(PICTERN_HELP_URL);
}

QString supportEmail()
{
    return QStringLiteral(PICTERN_SUPPORT_EMAIL);
}

QString libraryHelpURL()
{
    return QStringLiteral(PICTERN_LIBRARY_HELP_URL);
}

} // namespace PTBuildInfo
