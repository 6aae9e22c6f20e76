#pragma once

#include <QString>

#include <memory>

class PTSVG;
class PTSVGParser;

// Told about what a document finds while it parses; every call is optional.
class PTSVGDelegate {
public:
    virtual ~PTSVGDelegate() = default;
    // A nested svg element parsed into its own document, with its XML text.
    virtual void foundSubSVG(PTSVG& svg, const std::shared_ptr<PTSVGParser>& nested, const QString& svgString)
    {
        Q_UNUSED(svg);
        Q_UNUSED(nested);
        Q_UNUSED(svgString);
    }
};
