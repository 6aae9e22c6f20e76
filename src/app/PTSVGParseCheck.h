#pragma once

#include "library/upkeep/PTSVGFileCheck.h"

// The library's SVG file check done by the SVG engine: a file passes when it parses into a document.
class PTSVGParseCheck : public PTSVGFileCheck {
public:
    bool isValidSVGFile(const QString& path) const override;
};
