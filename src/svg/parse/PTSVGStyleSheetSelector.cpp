#include "svg/parse/PTSVGStyleSheetSelector.h"

#include "svg/model/PTSVGGroup.h"

namespace {

bool isDelimiter(QChar c)
{
    return c == u'#' || c == u'.' || c == u'+' || c == u'>' || c == u'~' || c.isSpace();
}

bool compoundMatches(const PTSVGStyleSheetSelectorRaw& compound, const PTSVGNode& node)
{
    if (!compound.tag.isEmpty() && compound.tag != node.name())
        return false;
    if (!compound.identifier.isEmpty() && compound.identifier != node.identifier())
        return false;
    for (const auto& className : compound.classes) {
        if (!node.classNameList().contains(className))
            return false;
    }
    return true;
}

// The children list holding the node, and the node's index in it; false when the parent is not a group.
bool siblingPosition(const PTSVGNode& node, const std::vector<std::shared_ptr<PTSVGNode>>*& siblings, size_t& index)
{
    const auto* parent = dynamic_cast<const PTSVGGroup*>(node.parentNode());
    if (!parent)
        return false;
    siblings = &parent->children();
    for (index = 0; index < siblings->size(); ++index) {
        if ((*siblings)[index].get() == &node)
            return true;
    }
    return false;
}

} // namespace

bool PTSVGStyleSheetSelector::validateSelector(QStringView text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '@': case ':': case ';': case '*': case '(': case ')': case '[': case ']':
            return false;
        default:
            break;
        }
    }
    return true;
}

std::shared_ptr<PTSVGStyleSheetSelector> PTSVGStyleSheetSelector::compile(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty() || !validateSelector(trimmed))
        return nullptr;
    auto selector = std::make_shared<PTSVGStyleSheetSelector>();
    selector->selector_ = trimmed.toString();
    std::vector<PTSVGStyleSheetSelectorRaw> compounds;
    PTSVGStyleSheetSelectorRaw current;
    bool combinatorPending = false;
    auto readName = [&](qsizetype& i) {
        const qsizetype start = i;
        while (i < trimmed.size() && !isDelimiter(trimmed[i]))
            ++i;
        return trimmed.mid(start, i - start).toString();
    };
    auto finishCompound = [&] {
        if (current.isEmpty())
            return;
        compounds.push_back(current);
        current = PTSVGStyleSheetSelectorRaw();
        combinatorPending = false;
    };
    qsizetype i = 0;
    while (i < trimmed.size()) {
        const QChar c = trimmed[i];
        if (c.isSpace()) {
            finishCompound();
            ++i;
        } else if (c == u'>' || c == u'+' || c == u'~') {
            // A combinator needs a compound on its left and none other before the next compound.
            if (combinatorPending || (current.isEmpty() && compounds.empty()))
                return nullptr;
            finishCompound();
            current.combinator = c == u'>' ? PTSVGStyleSheetSelectorRaw::Child
                : c == u'+'                ? PTSVGStyleSheetSelectorRaw::AdjacentSibling
                                           : PTSVGStyleSheetSelectorRaw::GeneralSibling;
            combinatorPending = true;
            ++i;
        } else if (c == u'#' || c == u'.') {
            ++i;
            const QString name = readName(i);
            if (name.isEmpty())
                return nullptr;
            if (c == u'#')
                current.identifier = name;
            else
                current.addClassName(name);
            combinatorPending = false;
        } else {
            current.tag = readName(i);
            combinatorPending = false;
        }
    }
    if (combinatorPending)
        return nullptr;
    finishCompound();
    if (compounds.empty())
        return nullptr;
    // Matching runs from the element outwards, so the rightmost compound comes first. Each compound keeps the
    // combinator that joins it to its left neighbour.
    selector->compounds_.assign(compounds.rbegin(), compounds.rend());
    for (const auto& compound : selector->compounds_) {
        selector->specificity_ += (compound.tag.isEmpty() ? 0 : 1) + (compound.identifier.isEmpty() ? 0 : 100)
            + 10 * int(compound.classes.size());
    }
    return selector;
}

bool PTSVGStyleSheetSelector::matchesNode(const PTSVGNode& node) const
{
    return !compounds_.empty() && matchesFrom(node, 0);
}

bool PTSVGStyleSheetSelector::matchesFrom(const PTSVGNode& node, size_t index) const
{
    const auto& compound = compounds_[index];
    if (!compoundMatches(compound, node))
        return false;
    if (index + 1 == compounds_.size())
        return true;
    switch (compound.combinator) {
    case PTSVGStyleSheetSelectorRaw::Descendant:
        for (const PTSVGNode* ancestor = node.parentNode(); ancestor; ancestor = ancestor->parentNode()) {
            if (matchesFrom(*ancestor, index + 1))
                return true;
        }
        return false;
    case PTSVGStyleSheetSelectorRaw::Child:
        return node.parentNode() && matchesFrom(*node.parentNode(), index + 1);
    case PTSVGStyleSheetSelectorRaw::AdjacentSibling:
    case PTSVGStyleSheetSelectorRaw::GeneralSibling: {
        const std::vector<std::shared_ptr<PTSVGNode>>* siblings = nullptr;
        size_t position = 0;
        if (!siblingPosition(node, siblings, position))
            return false;
        if (compound.combinator == PTSVGStyleSheetSelectorRaw::AdjacentSibling)
            return position > 0 && matchesFrom(*(*siblings)[position - 1], index + 1);
        for (size_t i = position; i-- > 0;) {
            if (matchesFrom(*(*siblings)[i], index + 1))
                return true;
        }
        return false;
    }
    }
    return false;
}
