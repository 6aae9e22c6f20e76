#include "sidebar/inspector/PTInspectorColumn.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTInspectorColumn> seam;
} // namespace

void PTInspectorColumn::install(std::shared_ptr<PTInspectorColumn> column)
{
    seam.install(std::move(column));
}

std::shared_ptr<PTInspectorColumn> PTInspectorColumn::installed()
{
    return seam.get();
}
