#include "app/PTStarterSetDownloads.h"

#include "library/InstalledSeam.h"

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
