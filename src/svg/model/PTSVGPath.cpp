#include "svg/model/PTSVGPath.h"

std::shared_ptr<PTSVGNode> PTSVGPath::clone() const
{
    auto copy = std::make_shared<PTSVGPath>();
    copy->applyPropertiesFromNode(*this);
    copy->path_ = path_;
    copy->lastControlPoint_ = lastControlPoint_;
    return copy;
}
