#include "transfer/import/PTAddIconsPresenter.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTAddIconsPresenter> seam;
} // namespace

void PTAddIconsPresenter::install(std::shared_ptr<PTAddIconsPresenter> presenter)
{
    seam.install(std::move(presenter));
}

std::shared_ptr<PTAddIconsPresenter> PTAddIconsPresenter::installed()
{
    return seam.get();
}
