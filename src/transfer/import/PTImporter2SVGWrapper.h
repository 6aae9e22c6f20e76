#pragma once

#include "svg/PTSVGDelegate.h"

#include <QVector>

#include <memory>

// Collects the documents nested in an SVG file (a sprite sheet) while it parses.
class PTImporter2SVGWrapper : public PTSVGDelegate {
public:
    void foundSubSVG(PTSVG& svg, const std::shared_ptr<PTSVGParser>& nested, const QString& svgString) override;
    const QVector<std::shared_ptr<PTSVG>>& SVGs() const { return subSVGs_; }

private:
    QVector<std::shared_ptr<PTSVG>> subSVGs_;
};
