#include "svg/parse/PTSVGStyleSheet.h"

#include <algorithm>

namespace {

// The text without its comments; an unclosed comment ends the text.
QString withoutComments(QStringView css)
{
    QString text;
    text.reserve(css.size());
    qsizetype i = 0;
    while (i < css.size()) {
        const qsizetype open = css.indexOf(u"/*", i);
        if (open < 0) {
            text += css.mid(i);
            break;
        }
        text += css.mid(i, open - i);
        const qsizetype close = css.indexOf(u"*/", open + 2);
        if (close < 0)
            break;
        text += u' ';
        i = close + 2;
    }
    return text;
}

} // namespace

void PTSVGStyleSheet::parseStyleBlock(QStringView source)
{
    const QString css = withoutComments(source);
    int depth = 0;
    qsizetype start = 0;
    QStringView selectorText;
    for (qsizetype i = 0; i < css.size(); ++i) {
        const QChar c = css[i];
        if (c == u'{') {
            if (depth == 0) {
                selectorText = QStringView(css).mid(start, i - start);
                start = i + 1;
            }
            ++depth;
        } else if (c == u'}') {
            if (depth == 1) {
                addStyleRule(QStringView(css).mid(start, i - start), selectorsWithSelectorString(selectorText));
                start = i + 1;
            }
            depth = std::max(0, depth - 1);
        }
    }
}

std::vector<std::shared_ptr<PTSVGStyleSheetSelector>> PTSVGStyleSheet::selectorsWithSelectorString(QStringView text)
{
    std::vector<std::shared_ptr<PTSVGStyleSheetSelector>> selectors;
    for (const QStringView member : text.split(u',')) {
        const QString key = member.trimmed().toString();
        auto it = selectorCache_.constFind(key);
        if (it == selectorCache_.constEnd()) {
            auto compiled = PTSVGStyleSheetSelector::compile(key);
            if (!compiled)
                continue;
            it = selectorCache_.insert(key, compiled);
        }
        selectors.push_back(*it);
    }
    return selectors;
}

void PTSVGStyleSheet::addStyleRule(QStringView declarations,
                                   std::vector<std::shared_ptr<PTSVGStyleSheetSelector>> selectors)
{
    rules_.emplace_back(std::move(selectors), PTSVGStyle::parseStyleString(declarations.trimmed()));
}

PTSVGStyle PTSVGStyleSheet::styleForNode(const PTSVGNode& node) const
{
    struct Match {
        const PTSVGStyleSheetRule* rule;
        int specificity;
    };
    std::vector<Match> matches;
    for (const auto& rule : rules_) {
        if (const auto* selector = rule.matchesNode(node))
            matches.push_back({&rule, selector->specificity()});
    }
    std::stable_sort(matches.begin(), matches.end(),
                     [](const Match& a, const Match& b) { return a.specificity < b.specificity; });
    PTSVGStyle style;
    for (const auto& match : matches)
        style = style.mergedStyle(match.rule->style());
    return style;
}
