#pragma once

#include <QString>

#include <memory>

class PTSVG;
class PTSVGForeignObject;
class PTSVGParser;
class PTSVGXmlNode;

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
    // Whether the delegate renders a foreignObject element itself (then handleForeignObject is called with it);
    // by default nobody does.
    virtual bool shouldHandleForeignObject(PTSVG& svg, const PTSVGForeignObject& object)
    {
        Q_UNUSED(svg);
        Q_UNUSED(object);
        return false;
    }
    virtual void handleForeignObject(PTSVG& svg, PTSVGForeignObject& object, const PTSVGXmlNode& element)
    {
        Q_UNUSED(svg);
        Q_UNUSED(object);
        Q_UNUSED(element);
    }
};
