#pragma once

#include "svg/model/PTSVGUnitLength.h"

// A gradient coordinate: a length whose percentage prints as the stored fraction (0.5, not 50%), the form the
// gradient attributes are written back in.
class PTSVGGradientUnitLength : public PTSVGUnitLength {
public:
    PTSVGGradientUnitLength() = default;
    PTSVGGradientUnitLength(const PTSVGUnitLength& length) : PTSVGUnitLength(length) {}

    QString stringValue() const;
};
