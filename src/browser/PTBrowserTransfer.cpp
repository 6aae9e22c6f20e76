#include "browser/PTBrowserTransfer.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTBrowserTransfer> seam;
} // namespace

void PTBrowserTransfer::install(std::shared_ptr<PTBrowserTransfer> transfer)
{
    seam.install(std::move(transfer));
}

std::shared_ptr<PTBrowserTransfer> PTBrowserTransfer::installed()
{
    return seam.get();
}
