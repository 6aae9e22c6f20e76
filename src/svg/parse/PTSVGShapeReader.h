#pragma once

#include <QRectF>
#include <QStringView>

class PTSVGPath;
class PTSVGXmlNode;

// Geometry of path data and the basic shapes, written into a path node.
class PTSVGShapeReader {
public:
    // Cuts path data at the twenty command letters and runs each command string in order.
    static void parsePathCommandData(QStringView data, PTSVGPath& path);
    static void parseLine(const PTSVGXmlNode& element, PTSVGPath& path);
    // The "points" of a polyline or polygon; an odd count or no numbers draws nothing.
    static void parsePoly(const PTSVGXmlNode& element, PTSVGPath& path, bool closePath);
    static void parseCircle(const PTSVGXmlNode& element, PTSVGPath& path);
    static void parseEllipse(const PTSVGXmlNode& element, PTSVGPath& path);
    // Percentages of x and width refer to the view box width, of y and height to its height.
    static void parseRect(const PTSVGXmlNode& element, PTSVGPath& path, const QRectF& viewBox);
};
