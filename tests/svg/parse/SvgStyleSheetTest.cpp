// CSS style sheets: selector compilation, specificity, matching with every combinator, and the cascade order
// (sheet by specificity, then the style attribute, then XML attributes).
#include "SvgTestTrees.h"

#include "svg/parse/PTSVGStyleSheet.h"

#include <gtest/gtest.h>

using svgtest::find;
using svgtest::hex;
using svgtest::parseBody;

TEST(SvgStyleSheet, SelectorsCompileOrAreRejected)
{
    struct Case {
        const char* text;
        int specificity; // -1: rejected
    };
    const Case cases[] = {
        {"path", 1}, {".a", 10}, {".a.b", 20}, {"#x", 100}, {"g .a", 11}, {"#x path.a", 111}, {"g", 1},
        {"g>path", 2}, {"g > path", 2}, {"a:hover", -1}, {"rect[x]", -1}, {"*", -1}, {"@media", -1},
        {"#", -1}, {"g >", -1}, {"> g", -1}, {"g > > path", -1}, {"", -1},
    };
    for (const auto& c : cases) {
        const auto selector = PTSVGStyleSheetSelector::compile(QString::fromLatin1(c.text));
        if (c.specificity < 0)
            EXPECT_EQ(selector, nullptr) << c.text;
        else
            EXPECT_EQ(selector ? selector->specificity() : -2, c.specificity) << c.text;
    }
    PTSVGStyleSheet sheet;
    EXPECT_EQ(sheet.selectorsWithSelectorString(u"rect, a:hover").size(), 1u);
    // One selector text compiles once and is shared.
    EXPECT_EQ(sheet.selectorsWithSelectorString(u"rect")[0], sheet.selectorsWithSelectorString(u" rect ")[0]);
}

TEST(SvgStyleSheet, CombinatorsMatchTheTreeShape)
{
    const auto root = parseBody(QStringLiteral(R"(
        <style>
          .st0 { fill: #010101 }
          #a.b { fill: #020202 }
          g.b path { fill: #030303 }
          svg > .k > circle { fill: #040404 }
          rect + circle { fill: #050505 }
          rect ~ ellipse { fill: #060606 }
          g>line { stroke: #070707 }
        </style>
        <path id="p1" class="st0"/>
        <path id="a" class="b"/>
        <path id="a2" class="b"/>
        <g class="b"><g><path id="deep"/></g></g>
        <g class="k"><circle id="child"/></g>
        <g class="k"><g><circle id="grandchild"/></g></g>
        <circle id="notChild"/>
        <g><rect/><circle id="adjacent"/></g>
        <g><ellipse id="before"/><rect/><polyline/><ellipse id="after"/></g>
        <g><line id="gline"/></g><line id="line"/>
    )"));
    ASSERT_TRUE(root);
    auto fill = [&](const char* id) { return hex(find(*root, QString::fromLatin1(id))->fillColor()); };
    EXPECT_EQ(fill("p1"), "#010101ff");
    EXPECT_EQ(fill("a"), "#020202ff");
    EXPECT_EQ(fill("a2"), "unset");
    EXPECT_EQ(fill("deep"), "#030303ff");
    EXPECT_EQ(fill("child"), "#040404ff");
    EXPECT_EQ(fill("notChild"), "unset");
    EXPECT_EQ(fill("grandchild"), "unset");
    EXPECT_EQ(fill("adjacent"), "#050505ff");
    EXPECT_EQ(fill("before"), "unset");
    EXPECT_EQ(fill("after"), "#060606ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("gline"))->strokeColor()), "#070707ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("line"))->strokeColor()), "unset");
}

TEST(SvgStyleSheet, DescendantMatchingTriesEveryAncestor)
{
    // The nearest g.x has no .a parent; the outer one does.
    const auto root = parseBody(QStringLiteral(R"(
        <style>.a > .x path { fill: #0000ff }</style>
        <g class="a"><g class="x"><g class="x"><path id="p"/></g></g></g>
    )"));
    ASSERT_TRUE(root);
    EXPECT_EQ(hex(find(*root, QStringLiteral("p"))->fillColor()), "#0000ffff");
}

TEST(SvgStyleSheet, CascadeOrder)
{
    const auto root = parseBody(QStringLiteral(R"(
        <style>
          path { fill: #0000ff; stroke: #0000ff }
          .c { fill: #00ff00 }
          .d { fill: #ff0000 }
          #s { stroke: #ff00ff }
          .e { stroke: #00ffff }
        </style>
        <path id="s" class="c d e" fill="#111111"/>
        <path id="t" class="c d" fill="#111111" style="fill: #222222"/>
        <path id="u" fill="#111111"/>
    )"));
    ASSERT_TRUE(root);
    // Equal specificity: the later rule wins; the sheet wins over the XML attribute.
    EXPECT_EQ(hex(find(*root, QStringLiteral("s"))->fillColor()), "#ff0000ff");
    // Higher specificity wins whatever the order.
    EXPECT_EQ(hex(find(*root, QStringLiteral("s"))->strokeColor()), "#ff00ffff");
    // The style attribute wins over the sheet.
    EXPECT_EQ(hex(find(*root, QStringLiteral("t"))->fillColor()), "#222222ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("u"))->fillColor()), "#0000ffff");
}

TEST(SvgStyleSheet, CommentsEndAtTheirCloseAndAtRulesNeverMatch)
{
    const auto root = parseBody(QStringLiteral(R"(
        <style><![CDATA[
          /* a/b */ .x { fill: #00ff00; /* inside */ stroke: #0000ff }
          @media print { .x { fill: #ff0000 } }
          .y { fill: #123456 }
        ]]></style>
        <path id="p" class="x y"/>
        <path id="q" class="x"/>
    )"));
    ASSERT_TRUE(root);
    EXPECT_EQ(hex(find(*root, QStringLiteral("q"))->fillColor()), "#00ff00ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("q"))->strokeColor()), "#0000ffff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("p"))->fillColor()), "#123456ff");
}
