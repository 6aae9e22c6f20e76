#include "library/bundle/PTSourceListSelection.h"

#include "library/InstalledSeam.h"

namespace {

InstalledSeam<PTSourceListSelection>& seam()
{
    static InstalledSeam<PTSourceListSelection> instance;
    return instance;
}

} // namespace

void PTSourceListSelection::install(std::shared_ptr<PTSourceListSelection> selection)
{
    seam().install(std::move(selection));
}

std::shared_ptr<PTSourceListSelection> PTSourceListSelection::installed()
{
    return seam().get();
}
