#pragma once

#include <QPointF>

class PTSVGBezierPath;

// SVG's elliptical arc from the path's current point, converted from endpoint to centre parameterisation.
class PTSVGArc {
public:
    // A zero radius draws a straight line to the end; radii too small to reach the end are scaled up; an arc
    // whose angles cannot be computed (the end equals the start) adds nothing.
    static void append(PTSVGBezierPath& path, QPointF radii, double rotationDegrees, bool largeArc, bool sweep,
                       QPointF end);
};
