#pragma once

#include "svg/parse/PTSVGCommand.h"

#include <array>

// The ten path commands (m l h v c s q t a z) as command classes for the letter registry.
class PTSVGPathCommands {
public:
    static const std::array<const PTSVGCommandClass*, 10>& all();

    static const PTSVGCommandClass Move;
    static const PTSVGCommandClass LineTo;
    static const PTSVGCommandClass HorizontalLine;
    static const PTSVGCommandClass VerticalLine;
    static const PTSVGCommandClass Curve;
    static const PTSVGCommandClass SmoothCurve;
    static const PTSVGCommandClass QuadraticCurve;
    static const PTSVGCommandClass SmoothQuadraticCurve;
    static const PTSVGCommandClass Arc;
    static const PTSVGCommandClass Close;
};
