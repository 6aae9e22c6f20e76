#include "library/PTProgressPresenter.h"

#include "library/InstalledSeam.h"

namespace {
InstalledSeam<PTProgressPresenter> seam;
} // namespace

void PTProgressPresenter::install(std::shared_ptr<PTProgressPresenter> presenter)
{
    seam.install(std::move(presenter));
}

std::shared_ptr<PTProgressSheet> PTProgressPresenter::presentSheet(const QString& title)
{
    const std::shared_ptr<PTProgressPresenter> presenter = seam.get();
    return presenter ? presenter->present(title) : nullptr;
}
