#include "transfer/PTStarterSetDownloads.h"

#include "library/InstalledSeam.h"
#include "platform/runtime/Defaults.h"

namespace {
InstalledSeam<PTStarterSetDownloads> seam;
} // namespace

void PTStarterSetDownloads::install(std::shared_ptr<PTStarterSetDownloads> downloads)
{
    seam.install(std::move(downloads));
}

std::shared_ptr<PTStarterSetDownloads> PTStarterSetDownloads::installed()
{
    return seam.get();
}

void PTStarterSetDownloads::registerDefaults()
{
    pt::Defaults::standard().registerDefaults({{URLKey, QStringLiteral(PICTERN_STARTER_SET_URL)}});
}

QUrl PTStarterSetDownloads::starterSetURL()
{
    return QUrl(pt::Defaults::standard().stringForKey(URLKey));
}

bool PTStarterSetDownloads::available()
{
    return installed() && starterSetURL().isValid() && !starterSetURL().isEmpty();
}
