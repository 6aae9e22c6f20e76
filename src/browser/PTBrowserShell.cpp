#include "browser/PTBrowserShell.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTBrowserShell> seam;
} // namespace

void PTBrowserShell::install(std::shared_ptr<PTBrowserShell> shell)
{
    seam.install(std::move(shell));
}

std::shared_ptr<PTBrowserShell> PTBrowserShell::installed()
{
    return seam.get();
}
