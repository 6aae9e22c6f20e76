#pragma once

#include "svg/model/PTSVGGroup.h"

// The content of a pattern element, drawn once per tile; its width and height give the tile size.
class PTSVGPattern : public PTSVGGroup {
public:
    std::shared_ptr<PTSVGNode> clone() const override;
};
