#include "svg/model/PTSVGDef.h"

#include "svg/model/PTSVGNode.h"

void PTSVGDef::addDef(const std::shared_ptr<PTSVGNode>& node)
{
    if (node && !node->identifier().isEmpty())
        nodes_.insert(node->identifier(), node);
}

std::shared_ptr<PTSVGNode> PTSVGDef::defForID(const QString& identifier) const
{
    return nodes_.value(identifier);
}
