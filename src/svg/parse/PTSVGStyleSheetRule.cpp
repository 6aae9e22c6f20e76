#include "svg/parse/PTSVGStyleSheetRule.h"

const PTSVGStyleSheetSelector* PTSVGStyleSheetRule::matchesNode(const PTSVGNode& node) const
{
    for (const auto& selector : selectors_) {
        if (selector->matchesNode(node))
            return selector.get();
    }
    return nullptr;
}
