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
    // The arc's own conversions: degrees to radians as x / 180 * pi, and a vector's length in single precision.
    static double degreesToRadians(double degrees);
    static float vectorLength(QPointF vector);
};
