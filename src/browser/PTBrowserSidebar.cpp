#include "browser/PTBrowserSidebar.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTBrowserSidebar> seam;
} // namespace

void PTBrowserSidebar::install(std::shared_ptr<PTBrowserSidebar> sidebar)
{
    seam.install(std::move(sidebar));
}

std::shared_ptr<PTBrowserSidebar> PTBrowserSidebar::installed()
{
    return seam.get();
}
