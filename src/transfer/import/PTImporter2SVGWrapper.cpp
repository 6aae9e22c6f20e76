#include "transfer/import/PTImporter2SVGWrapper.h"

#include "svg/PTSVG.h"

void PTImporter2SVGWrapper::foundSubSVG(PTSVG& svg, const std::shared_ptr<PTSVGParser>& nested, const QString& svgString)
{
    Q_UNUSED(svg);
    Q_UNUSED(svgString);
    if (nested)
        subSVGs_.append(PTSVG::svgWithParsedTree(nested));
}
