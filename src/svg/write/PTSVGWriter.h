#pragma once

#include "svg/dom/PTSVGXmlNode.h"

#include <QString>

#include <memory>

class PTSVGBezierPath;
class PTSVGPath;

// Makes a one-path SVG document from a path, numbers in six-decimal fixed form. The exporter is the writer the
// application uses; this one serves single glyph outlines.
class PTSVGWriter {
public:
    // The glyph flipped to y-down: (x, y) becomes (x, -(y + h)), h the height of its control-point box.
    static QString SVGDocumentStringForSVGGlyph(const PTSVGPath& glyph);
    static QString SVGDocumentStringForBezierPath(const PTSVGBezierPath& path);
    static std::unique_ptr<PTSVGXmlNode> SVGDocumentForBezierPath(const PTSVGBezierPath& path);
    // "svg" with width, height and viewBox of the control-point box, and the SVG namespace.
    static std::unique_ptr<PTSVGXmlNode> rootElementForPath(const PTSVGBezierPath& path);
    // "M%f %f", "L%f %f", "C%f %f %f %f %f %f" and "Z" with no separator; quadratic segments as their cubic.
    static QString SVGPathStringForBezierPath(const PTSVGBezierPath& path);
};
