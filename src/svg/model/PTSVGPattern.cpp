#include "svg/model/PTSVGPattern.h"

std::shared_ptr<PTSVGNode> PTSVGPattern::clone() const
{
    auto copy = std::make_shared<PTSVGPattern>();
    copy->applyPropertiesFromNode(*this);
    cloneChildrenInto(*copy);
    return copy;
}
