#include "library/controllers/PTReplacementImport.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTReplacementImport> seam;
} // namespace

void PTReplacementImport::install(std::shared_ptr<PTReplacementImport> import)
{
    seam.install(std::move(import));
}

std::shared_ptr<PTReplacementImport> PTReplacementImport::installed()
{
    return seam.get();
}
