#pragma once

#include "svg/model/PTSVGNode.h"

// A node with ordered children: g, switch, svg, clip paths, masks, fonts and the HTML elements read as groups.
class PTSVGGroup : public PTSVGNode {
public:
    std::shared_ptr<PTSVGNode> clone() const override;

    const std::vector<std::shared_ptr<PTSVGNode>>& children() const { return children_; }
    // Appends; null is ignored. The caller sets the child's parent.
    void addChild(const std::shared_ptr<PTSVGNode>& child);
    void purgeChildren() { children_.clear(); }

protected:
    // Copies the children of this group into a copy of it, re-parented there.
    void cloneChildrenInto(PTSVGGroup& copy) const;

private:
    std::vector<std::shared_ptr<PTSVGNode>> children_;
};
