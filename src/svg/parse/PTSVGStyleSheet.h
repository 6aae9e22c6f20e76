#pragma once

#include "svg/parse/PTSVGStyleSheetRule.h"

#include <QHash>

// The CSS of a document's style elements: rules in reading order, each selector text compiled once.
class PTSVGStyleSheet {
public:
    // Reads every rule block of the text (comments skipped) and appends its rules.
    void parseStyleBlock(QStringView css);
    // The compiled members of a comma-separated selector list; unsupported members are left out.
    std::vector<std::shared_ptr<PTSVGStyleSheetSelector>> selectorsWithSelectorString(QStringView text);
    void addStyleRule(QStringView declarations, std::vector<std::shared_ptr<PTSVGStyleSheetSelector>> selectors);
    // The cascaded style of the node: matching rules by ascending specificity, later rules winning ties.
    PTSVGStyle styleForNode(const PTSVGNode& node) const;
    const std::vector<PTSVGStyleSheetRule>& rules() const { return rules_; }

private:
    std::vector<PTSVGStyleSheetRule> rules_;
    QHash<QString, std::shared_ptr<PTSVGStyleSheetSelector>> selectorCache_;
};
