#include "library/PTLibraryShell.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTLibraryShell> seam;
} // namespace

void PTLibraryShell::install(std::shared_ptr<PTLibraryShell> shell)
{
    seam.install(std::move(shell));
}

std::shared_ptr<PTLibraryShell> PTLibraryShell::installed()
{
    return seam.get();
}
