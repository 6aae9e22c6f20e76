#pragma once

#include <QString>

class PTSVGBezierPath;

// Path data in as few characters as the exporter's format allows while drawing what the path draws: every point
// on a grid of decimal steps fine enough for the tolerance, and for each segment the shortest of its absolute,
// relative and shorthand forms (H, V, S, T), a run of cubic pieces of one circle or axis-aligned ellipse as an
// arc. A line that a close draws anyway, or that the grid makes empty, is left out.
class PTSVGPathDataWriter {
public:
    // tolerance: how far a printed point may lie from the path's own, in the path's units. Without relative,
    // only absolute forms are written. A tolerance that is not positive, or coordinates too large for its grid,
    // give the plain relative or absolute data with six significant digits.
    static QString pathString(const PTSVGBezierPath& path, double tolerance, bool relative);
    // The fewest digits after the point whose rounding stays within tolerance (at most 12).
    static int decimalsForTolerance(double tolerance);
};
