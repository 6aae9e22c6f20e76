#include "sidebar/PTSourceListColumn.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTSourceListColumn> seam;
} // namespace

void PTSourceListColumn::install(std::shared_ptr<PTSourceListColumn> column)
{
    seam.install(std::move(column));
}

std::shared_ptr<PTSourceListColumn> PTSourceListColumn::installed()
{
    return seam.get();
}
