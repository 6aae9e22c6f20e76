#include "app/PTSVGParseCheck.h"

#include "svg/PTSVG.h"

bool PTSVGParseCheck::isValidSVGFile(const QString& path) const
{
    // Uncached: the library checks each file once, and the cache would keep every tree alive.
    return PTSVG::svgWithFile(path, false).ok();
}
