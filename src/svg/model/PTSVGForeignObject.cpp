#include "svg/model/PTSVGForeignObject.h"

std::shared_ptr<PTSVGNode> PTSVGForeignObject::clone() const
{
    auto copy = std::make_shared<PTSVGForeignObject>();
    copy->applyPropertiesFromNode(*this);
    // The extension is what the object is; a copy without it would stand for a different object.
    copy->requiredExtension_ = requiredExtension_;
    return copy;
}
