#pragma once

#include "svg/parse/PTSVGStyle.h"
#include "svg/parse/PTSVGStyleSheetSelector.h"

#include <memory>
#include <vector>

// One rule block: its supported selectors and its declarations.
class PTSVGStyleSheetRule {
public:
    PTSVGStyleSheetRule(std::vector<std::shared_ptr<PTSVGStyleSheetSelector>> selectors, PTSVGStyle style)
        : selectors_(std::move(selectors)), style_(std::move(style))
    {
    }

    const std::vector<std::shared_ptr<PTSVGStyleSheetSelector>>& selectors() const { return selectors_; }
    const PTSVGStyle& style() const { return style_; }
    // The first selector of the rule that matches the node, or nullptr.
    const PTSVGStyleSheetSelector* matchesNode(const PTSVGNode& node) const;

private:
    std::vector<std::shared_ptr<PTSVGStyleSheetSelector>> selectors_;
    PTSVGStyle style_;
};
