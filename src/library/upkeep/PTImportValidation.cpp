#include "library/upkeep/PTImportValidation.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<const PTImportValidation> seam;
} // namespace

void PTImportValidation::install(std::shared_ptr<const PTImportValidation> validation)
{
    seam.install(std::move(validation));
}

std::shared_ptr<const PTImportValidation> PTImportValidation::installed()
{
    return seam.get();
}
