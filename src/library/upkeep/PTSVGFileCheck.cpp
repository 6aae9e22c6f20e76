#include "library/upkeep/PTSVGFileCheck.h"

#include "library/InstalledSeam.h"

#include <QFile>

namespace {
InstalledSeam<const PTSVGFileCheck> seam;
} // namespace

void PTSVGFileCheck::install(std::shared_ptr<const PTSVGFileCheck> check)
{
    seam.install(std::move(check));
}

std::shared_ptr<const PTSVGFileCheck> PTSVGFileCheck::installed()
{
    return seam.get();
}

bool PTSVGFileCheck::check(const QString& path)
{
    if (const std::shared_ptr<const PTSVGFileCheck> installed = seam.get())
        return installed->isValidSVGFile(path);
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}
