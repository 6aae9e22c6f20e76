#include "svg/model/PTSVGGroup.h"

std::shared_ptr<PTSVGNode> PTSVGGroup::clone() const
{
    auto copy = std::make_shared<PTSVGGroup>();
    copy->applyPropertiesFromNode(*this);
    cloneChildrenInto(*copy);
    return copy;
}

void PTSVGGroup::addChild(const std::shared_ptr<PTSVGNode>& child)
{
    if (child)
        children_.push_back(child);
}

void PTSVGGroup::cloneChildrenInto(PTSVGGroup& copy) const
{
    copy.children_.clear();
    for (const auto& child : children_) {
        auto childCopy = child->clone();
        childCopy->setParentNode(&copy);
        copy.children_.push_back(std::move(childCopy));
    }
}
