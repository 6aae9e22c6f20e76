#include "svg/model/PTSVGText.h"

std::shared_ptr<PTSVGNode> PTSVGText::clone() const
{
    auto copy = std::make_shared<PTSVGText>();
    copy->applyPropertiesFromNode(*this);
    cloneChildrenInto(*copy);
    copy->text_ = text_;
    return copy;
}
