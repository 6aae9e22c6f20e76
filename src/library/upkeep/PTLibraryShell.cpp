#include "library/upkeep/PTLibraryShell.h"

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

std::shared_ptr<PTProgressSheet> PTLibraryShell::presentSheet(const QString& title)
{
    const std::shared_ptr<PTLibraryShell> shell = installed();
    if (!shell)
        return nullptr;
    std::shared_ptr<PTProgressSheet> sheet = shell->makeProgressSheet(title);
    sheet->beginSession();
    return sheet;
}
