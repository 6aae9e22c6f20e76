#pragma once

#include "svg/dom/PTSVGXmlNode.h"

#include <QString>

// Writes an XML tree back as text: elements with their attributes in order, text escaped, empty elements
// closed in place. A document node writes an XML declaration first. Pretty text puts every element of an
// element-only parent on a line of its own, indented by two blanks per level; mixed content is written as it is.
class PTSVGXmlWriter {
public:
    static QString toString(const PTSVGXmlNode& node, bool pretty = false);
};
