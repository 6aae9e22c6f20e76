#pragma once

#include "svg/PTSVGXmlNode.h"

#include <QString>

// Writes an XML tree back as text: elements with their attributes in order, text escaped, empty elements
// closed in place. A document node writes an XML declaration first.
class PTSVGXmlWriter {
public:
    static QString toString(const PTSVGXmlNode& node);
};
