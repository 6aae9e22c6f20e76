#pragma once

#include "svg/parse/PTSVGStyleSheetSelectorRaw.h"

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

class PTSVGNode;

// One compiled CSS selector: compound selectors joined by descendant (blank), child (>), adjacent (+) and
// general sibling (~) combinators. Pseudo-classes, attribute selectors, the universal selector and at-rules
// are not supported: such selectors do not compile.
class PTSVGStyleSheetSelector {
public:
    // The compiled selector, or nullptr when the text is not one we support.
    static std::shared_ptr<PTSVGStyleSheetSelector> compile(QStringView text);
    // Rejects texts holding any of "@:;*()[]".
    static bool validateSelector(QStringView text);

    const QString& selector() const { return selector_; }
    // Rightmost compound first.
    const std::vector<PTSVGStyleSheetSelectorRaw>& compounds() const { return compounds_; }
    // 1 per tag, 10 per class, 100 per id.
    int specificity() const { return specificity_; }
    bool matchesNode(const PTSVGNode& node) const;

private:
    bool matchesFrom(const PTSVGNode& node, size_t index) const;

    QString selector_;
    std::vector<PTSVGStyleSheetSelectorRaw> compounds_;
    int specificity_ = 0;
};
