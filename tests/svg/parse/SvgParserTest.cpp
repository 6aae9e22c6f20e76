// The parser on whole documents: sizes, errors, definitions and references, nested documents, fonts, encodings
// and hostile input.
#include "SvgTestTrees.h"
#include "TestSupport.h"

#include "svg/PTSVGError.h"
#include "svg/model/PTSVGGradient.h"
#include "svg/model/PTSVGImage.h"
#include "svg/parse/PTSVGParseBudget.h"
#include "svg/model/PTSVGPath.h"
#include "svg/model/PTSVGPattern.h"
#include "svg/dom/PTSVGXmlReader.h"
#include "svg/dom/PTSVGXmlWriter.h"

#include <QBuffer>
#include <QFile>
#include <QElapsedTimer>
#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using svgtest::find;
using svgtest::findAs;
using svgtest::hex;
using svgtest::parse;
using svgtest::parseBody;

namespace {

qint64 errorCode(const QString& text)
{
    const auto result = PTSVGParser::groupForSVGString(text);
    return result.ok() ? -1 : result.error().code;
}

int countNodes(const PTSVGGroup& group)
{
    int count = 0;
    for (const auto& child : group.children()) {
        ++count;
        if (const auto* sub = dynamic_cast<const PTSVGGroup*>(child.get()))
            count += countNodes(*sub);
    }
    return count;
}

QPointF origin(const PTSVGNode& node)
{
    // Where the node's own origin lands through its own and its ancestors' transforms.
    QTransform total;
    for (const PTSVGNode* n = &node; n; n = n->parentNode())
        total = total * PTSVGConcatTransforms(n->transforms());
    return total.map(QPointF(0, 0));
}

} // namespace

TEST(SvgParser, ViewBoxAndProposedSize)
{
    struct Case {
        const char* attributes;
        QRectF viewBox;
        QSizeF proposed;
    };
    const Case cases[] = {
        {R"svg(width="100")svg", {0, 0, 100, 100}, {100, 100}},
        {R"svg(height="40")svg", {0, 0, 40, 40}, {40, 40}},
        {R"svg(viewBox="0 0 24 24" width="48")svg", {0, 0, 24, 24}, {48, 24}},
        {R"svg(viewBox="-2,-2,20,10")svg", {-2, -2, 20, 10}, {20, 10}},
        {R"svg(width="16px" height="8pt")svg", {0, 0, 16, 8}, {16, 8}},
        // A percentage has no viewport to refer to at the root: the view box fills in.
        {R"svg(viewBox="0 0 24 24" width="100%" height="50%")svg", {0, 0, 24, 24}, {24, 24}},
    };
    for (const auto& c : cases) {
        const auto root = parse(QStringLiteral("<svg %1/>").arg(QString::fromLatin1(c.attributes)));
        ASSERT_TRUE(root) << c.attributes;
        EXPECT_EQ(root->viewBox(), c.viewBox) << c.attributes;
        EXPECT_EQ(root->proposedViewSize(), c.proposed) << c.attributes;
        EXPECT_EQ(root->size(), c.viewBox.size()) << c.attributes;
    }
}

TEST(SvgParser, ErrorCodes)
{
    EXPECT_EQ(errorCode(QStringLiteral("<svg/>")), PTSVGError::NoViewBox);
    EXPECT_EQ(errorCode(QStringLiteral(R"svg(<svg viewBox="0 0 10"/>)svg")), PTSVGError::NoViewBox);
    EXPECT_EQ(errorCode(QStringLiteral(R"svg(<svg viewBox="0 0 -10 10"/>)svg")), PTSVGError::NoViewBox);
    EXPECT_EQ(errorCode(QStringLiteral("this is not xml")), PTSVGError::XMLRejected);
    EXPECT_EQ(errorCode(QStringLiteral("<svg width='1'><g></svg>")), PTSVGError::XMLRejected);
    EXPECT_EQ(errorCode(QString()), PTSVGError::XMLRejected);
    const auto missing = PTSVGParser::groupForFileURL(pt::test::fixturePath(QStringLiteral("no-such-file.svg")));
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error(), PTSVGError::make(PTSVGError::ReadFailed));
    EXPECT_EQ(missing.error().domain, QStringLiteral("PTSVGErrorDomain"));
    EXPECT_TRUE(missing.error().userInfo.isEmpty());
    // Nesting beyond the limit is refused before the recursive tree walk could overflow the stack.
    QString deep = QStringLiteral("<svg width='1'>");
    for (int i = 0; i < 100000; ++i)
        deep += QStringLiteral("<g>");
    EXPECT_EQ(errorCode(deep), PTSVGError::XMLRejected);
    // Just inside the limit still parses.
    QString allowed = QStringLiteral("<svg width='1'>");
    for (int i = 0; i < PTSVGXmlReader::MaximumDepth - 2; ++i)
        allowed += QStringLiteral("<g>");
    allowed += QStringLiteral("<path id='leaf' d='M0 0h1'/>");
    for (int i = 0; i < PTSVGXmlReader::MaximumDepth - 2; ++i)
        allowed += QStringLiteral("</g>");
    const auto root = parse(allowed + QStringLiteral("</svg>"));
    ASSERT_TRUE(root);
    EXPECT_TRUE(find(*root, QStringLiteral("leaf")));
}

TEST(SvgParser, FontDocumentsNeedNoViewBox)
{
    const auto result = PTSVGParser::groupForFileURL(pt::test::fixturePath(QStringLiteral("font.svg")));
    ASSERT_TRUE(result.ok());
    const auto& font = *result;
    EXPECT_TRUE(font->isFont());
    // The empty and the flat glyph draw nothing and are not collected.
    ASSERT_EQ(font->glyphs().size(), 2u);
    EXPECT_EQ(font->glyphs()[0]->unicode(), QStringLiteral("f005"));
    EXPECT_EQ(font->glyphs()[1]->unicode(), QStringLiteral("0041"));
    EXPECT_EQ(font->glyphs()[1]->path().controlPointBounds(), QRectF(0, 0, 100, 100));
    // The font and its glyphs are not part of the drawn tree.
    EXPECT_TRUE(font->children().empty());
}

TEST(SvgParser, UseOfDefinitions)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <rect id="early" width="2" height="2" fill="#00ff00"/>
        <defs><path id="shape" d="M0 0 L5 5" fill="#0000ff" stroke="#010101"/></defs>
        <use id="u1" xlink:href="#shape" x="10" y="20" stroke="#ff0000" opacity="0.5"/>
        <use id="u2" xlink:href="#shape" transform="scale(2)" x="10"/>
        <use id="u3" xlink:href="#early" y="3"/>
        <use id="u4" xlink:href="#late"/>
        <rect id="late" width="1" height="1"/>
        <g fill="#ff0000"><use id="u5" xlink:href="#shape" fill="#00ffff"/></g>
    )svg"));
    ASSERT_TRUE(root);
    const auto u1 = findAs<PTSVGGroup>(*root, QStringLiteral("u1"));
    ASSERT_TRUE(u1);
    ASSERT_EQ(u1->children().size(), 1u);
    const auto copy = std::dynamic_pointer_cast<PTSVGPath>(u1->children()[0]);
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->identifier().isEmpty());
    EXPECT_EQ(copy->intermediateParentNode(), u1.get());
    EXPECT_EQ(copy->path().elements().size(), 2u);
    EXPECT_EQ(origin(*copy), QPointF(10, 20));
    // The referenced element keeps what it sets itself; the use element's values reach it by inheritance.
    EXPECT_EQ(hex(copy->strokeColor()), "#010101ff");
    EXPECT_EQ(hex(copy->fillColor()), "#0000ffff");
    EXPECT_DOUBLE_EQ(u1->opacity()->value(), 0.5);

    // The use element's transform applies outside its x/y translation: scale(2) then translate(10).
    const auto u2 = findAs<PTSVGGroup>(*root, QStringLiteral("u2"));
    ASSERT_TRUE(u2);
    EXPECT_EQ(origin(*u2->children()[0]), QPointF(20, 0));

    // An element outside defs can be used once it has been parsed, not before.
    EXPECT_TRUE(find(*root, QStringLiteral("u3")));
    EXPECT_FALSE(find(*root, QStringLiteral("u4")));

    // Each use draws a fresh copy: two uses of one definition do not share nodes.
    EXPECT_NE(u1->children()[0], u2->children()[0]);
}

TEST(SvgParser, UseOfSomethingThatDrawsNothingIsSkipped)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <defs>
          <linearGradient id="g"><stop offset="0" stop-color="red"/></linearGradient>
          <clipPath id="c"><rect width="1" height="1"/></clipPath>
        </defs>
        <use id="ug" xlink:href="#g"/>
        <use id="uc" xlink:href="#c"/>
        <rect id="r" width="10" height="10"/>
    )svg"));
    ASSERT_TRUE(root);
    EXPECT_FALSE(find(*root, QStringLiteral("ug")));
    EXPECT_FALSE(find(*root, QStringLiteral("uc")));
    EXPECT_TRUE(find(*root, QStringLiteral("r")));
}

TEST(SvgParser, StyleInsideDefsAppliesToEarlierElements)
{
    const auto root = parse(QStringLiteral(R"svg(<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 16 16">
        <path id="before" class="ColorScheme-Text" d="M0 0h16v16z" fill="currentColor"/>
        <defs><style id="current-color-scheme" type="text/css">.ColorScheme-Text { color:#444444; }</style></defs>
        <path id="after" class="ColorScheme-Text" d="M0 0h16v16z" style="fill:currentColor"/>
        <g color="#ff0000"><path id="inherited" d="M0 0h1v1z" fill="currentColor"/></g>
        <path id="plain" d="M0 0h1v1z" stroke="currentColor"/>
    </svg>)svg"));
    ASSERT_TRUE(root);
    EXPECT_EQ(hex(find(*root, QStringLiteral("before"))->fillColor()), "#444444ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("after"))->fillColor()), "#444444ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("inherited"))->fillColor()), "#ff0000ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("plain"))->strokeColor()), "#000000ff");
}

TEST(SvgParser, EntitiesExpandAndExternalOnesNeverLoad)
{
    const auto result = PTSVGParser::groupForFileURL(pt::test::fixturePath(QStringLiteral("entities.svg")));
    ASSERT_TRUE(result.ok()) << result.error().toString().toStdString();
    const auto shape = find(**result, QStringLiteral("shape"));
    ASSERT_TRUE(shape);
    EXPECT_EQ(hex(shape->fillColor()), "#ff8800ff");
    QFile file(pt::test::fixturePath(QStringLiteral("entities.svg")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto document = PTSVGXmlReader::parse(file.readAll());
    ASSERT_TRUE(document);
    EXPECT_EQ(document->firstElementChild()->textContent().simplified(), QStringLiteral("[]"));
    // A chain of entities that would expand into gigabytes is refused.
    QString laughs = QStringLiteral("<!DOCTYPE svg [<!ENTITY a \"aaaaaaaaaa\">");
    for (char c = 'b'; c <= 'j'; ++c)
        laughs += QStringLiteral("<!ENTITY %1 \"%2\">").arg(QChar(c)).arg(QString(QStringLiteral("&%1;").arg(QChar(c - 1))).repeated(10));
    laughs += QStringLiteral("]><svg width=\"1\"><g class=\"&j;\"/></svg>");
    EXPECT_EQ(errorCode(laughs), PTSVGError::XMLRejected);
}

TEST(SvgParser, Latin1DocumentsDecode)
{
    const auto result = PTSVGParser::groupForFileURL(pt::test::fixturePath(QStringLiteral("latin1.svg")));
    ASSERT_TRUE(result.ok());
    const auto rect = find(**result, QStringLiteral("caf\u00e9"));
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->className(), QStringLiteral("\u00fcber"));
}

TEST(SvgParser, ReferenceCyclesAndExplosionsEndWithDroppedReferences)
{
    QElapsedTimer clock;
    clock.start();
    const auto result = PTSVGParser::groupForFileURL(pt::test::fixturePath(QStringLiteral("cycles.svg")));
    ASSERT_TRUE(result.ok());
    const auto& root = *result;
    EXPECT_LT(clock.elapsed(), 10000);
    // The self-use keeps its rectangle and drops the inner use of itself.
    const auto useSelf = findAs<PTSVGGroup>(*root, QStringLiteral("useSelf"));
    ASSERT_TRUE(useSelf);
    EXPECT_TRUE(find(*useSelf, QStringLiteral("selfRect")));
    EXPECT_TRUE(find(*root, QStringLiteral("usePing")));
    // The gradient chain ends at the gradient it started from, keeping its own stop.
    const auto gradientCycle = find(*root, QStringLiteral("gradientCycle"));
    ASSERT_TRUE(gradientCycle->fillGradient());
    EXPECT_EQ(gradientCycle->fillGradient()->stops().size(), 1u);
    EXPECT_TRUE(find(*root, QStringLiteral("clipCycle"))->clipPath());
    // The hundred-million-node use tree stops at the reference budget; the rest of the document still parses.
    EXPECT_TRUE(find(*root, QStringLiteral("bomb")));
    EXPECT_LE(countNodes(*root), PTSVGParseBudget::MaximumReferencedNodes * 3);
    EXPECT_TRUE(find(*root, QStringLiteral("after")));
    // A use of the document's own root parses it once more as a nested document, inside which the same use is
    // a cycle.
    const auto useRoot = findAs<PTSVGGroup>(*root, QStringLiteral("useRoot"));
    ASSERT_TRUE(useRoot);
    ASSERT_EQ(useRoot->children().size(), 1u);
    const auto nested = useRoot->children()[0]->svg();
    ASSERT_TRUE(nested);
    EXPECT_FALSE(find(*nested, QStringLiteral("useRoot")));
    EXPECT_TRUE(find(*nested, QStringLiteral("usePing")));
}

TEST(SvgParser, ContentOfMasksClipPathsPatternsAndFontsStaysOutOfTheDrawnTree)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <defs>
          <mask id="m" maskContentUnits="userSpaceOnUse"><rect id="inMask" width="5" height="5" fill="white"/></mask>
          <pattern id="p" width="0.5" height="0.25"><circle id="inPattern" r="2"/></pattern>
        </defs>
        <clipPath id="c"><rect id="inClip" width="5" height="5"/></clipPath>
        <rect id="r" width="10" height="10" mask="url(#m)" clip-path="url( #c)" fill="url(#p)" stroke="url(#missing)"/>
        <rect id="none" width="10" height="10" clip-path="none"/>
    )svg"));
    ASSERT_TRUE(root);
    for (const char* hidden : {"inMask", "inPattern", "inClip", "m", "p", "c"})
        EXPECT_FALSE(find(*root, QString::fromLatin1(hidden))) << hidden;
    const auto r = find(*root, QStringLiteral("r"));
    ASSERT_TRUE(r->mask());
    EXPECT_EQ(r->mask()->type(), PTSVGNodeTypeMask);
    EXPECT_EQ(r->mask()->units(), 1);
    EXPECT_EQ(r->mask()->contentUnits(), 0);
    EXPECT_TRUE(find(*r->mask(), QStringLiteral("inMask")));
    ASSERT_TRUE(r->clipPath());
    EXPECT_EQ(r->clipPath()->type(), PTSVGNodeTypeClipPath);
    ASSERT_TRUE(r->fillPattern());
    EXPECT_DOUBLE_EQ(r->fillPattern()->width()->value(), 0.5);
    EXPECT_TRUE(find(*r->fillPattern(), QStringLiteral("inPattern")));
    EXPECT_FALSE(r->strokeGradient());
    ASSERT_TRUE(r->strokeColor()) << "a reference to nothing paints nothing";
    EXPECT_EQ(r->strokeColor()->alpha(), 0);
    EXPECT_FALSE(find(*root, QStringLiteral("none"))->clipPath());
}

TEST(SvgParser, UnresolvedPaintReferencesUseTheirFallback)
{
    const auto root = parseBody(QStringLiteral(R"svg(<g color="#0000ff">
        <rect id="colour" width="1" height="1" fill="url(#missing) #00ff00"/>
        <rect id="current" width="1" height="1" fill="url(#missing) currentColor"/>
        <rect id="none" width="1" height="1" fill="url(#missing)"/></g>)svg"));
    ASSERT_TRUE(root);
    EXPECT_EQ(hex(find(*root, QStringLiteral("colour"))->fillColor()), "#00ff00ff");
    EXPECT_EQ(hex(find(*root, QStringLiteral("current"))->fillColor()), "#0000ffff");
    EXPECT_EQ(find(*root, QStringLiteral("none"))->fillColor()->alpha(), 0);
}

TEST(SvgParser, NestedDocuments)
{
    QStringList seen;
    const auto result = PTSVGParser::groupForSVGString(QStringLiteral(R"svg(<svg viewBox="0 0 200 100">
        <svg id="sized" x="5" y="6" width="20" height="10" viewBox="0 0 2 1"><rect id="inner" width="2" height="1"/></svg>
        <svg id="unsized"><circle r="3"/></svg>
        <svg id="half" width="50%" height="100%"><circle r="3"/></svg>
        <svg id="broken" width="0" height="0" viewBox="0 0 0 0"/>
    </svg>)svg"),
        [&](const PTSVGParser&, const std::shared_ptr<PTSVGParser>&, const QString& text) { seen << text; });
    ASSERT_TRUE(result.ok());
    const auto& root = *result;
    ASSERT_EQ(root->subSVGs().size(), 3u);
    const auto sized = find(*root, QStringLiteral("sized"));
    ASSERT_TRUE(sized && sized->svg());
    EXPECT_EQ(sized->type(), PTSVGNodeTypeSVG);
    EXPECT_DOUBLE_EQ(sized->x()->value(), 5);
    EXPECT_EQ(sized->svg()->viewBox(), QRectF(0, 0, 2, 1));
    EXPECT_EQ(sized->svg()->proposedViewSize(), QSizeF(20, 10));
    EXPECT_FALSE(sized->svg()->x());
    EXPECT_TRUE(find(*sized->svg(), QStringLiteral("inner")));
    // Without a size a nested document fills its parent's viewport; percentages are fractions of it.
    EXPECT_EQ(find(*root, QStringLiteral("unsized"))->svg()->proposedViewSize(), QSizeF(200, 100));
    EXPECT_EQ(find(*root, QStringLiteral("half"))->svg()->proposedViewSize(), QSizeF(100, 100));
    EXPECT_FALSE(find(*root, QStringLiteral("broken")));
    // The delegate sees the nested element's text without its position, and it parses on its own.
    ASSERT_EQ(seen.size(), 3);
    EXPECT_FALSE(seen[0].contains(QStringLiteral(" x=")));
    EXPECT_TRUE(seen[0].contains(QStringLiteral("viewBox=\"0 0 2 1\"")));
    EXPECT_TRUE(PTSVGParser::groupForSVGString(seen[0]).ok());
}

TEST(SvgParser, NestedDocumentsListedDepthFirst)
{
    const auto root = svgtest::parse(QStringLiteral(R"svg(<svg viewBox="0 0 100 100">
        <svg id="a" width="50" height="50" viewBox="0 0 10 10">
            <svg id="a1" width="5" height="5" viewBox="0 0 1 1"><svg id="a11" width="1" height="1" viewBox="0 0 1 1"/></svg>
        </svg>
        <svg id="b" width="50" height="50" viewBox="0 0 20 20"/>
    </svg>)svg"));
    ASSERT_TRUE(root);
    const auto viewBoxWidths = [](const std::vector<std::shared_ptr<PTSVGParser>>& documents) {
        std::vector<double> widths;
        for (const auto& document : documents)
            widths.push_back(document->viewBox().width());
        return widths;
    };
    EXPECT_EQ(viewBoxWidths(root->subSVGs(false)), (std::vector<double>{10, 20}));
    EXPECT_EQ(viewBoxWidths(root->subSVGs(true)), (std::vector<double>{10, 1, 1, 20}));
}

TEST(SvgParser, ImagesLoadOnlyFromDataURIs)
{
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QString base64 = QString::fromLatin1(png.toBase64());
    const QString wrapped = base64.left(10) + QStringLiteral("\n  ") + base64.mid(10);
    const QString percent = QString::fromLatin1(png.toPercentEncoding());
    const auto root = parseBody(QStringLiteral(R"svg(
        <image id="b64" width="30" height="20" xlink:href="data:image/png;base64,%1"/>
        <image id="pct" width="30" height="20" href="data:image/png,%2"/>
        <image id="file" width="30" height="20" xlink:href="%3"/>
        <image id="web" width="30" height="20" xlink:href="http://127.0.0.1:9/x.png"/>
    )svg").arg(wrapped, percent, pt::test::fixturePath(QStringLiteral("red.png"))));
    ASSERT_TRUE(root);
    const auto b64 = findAs<PTSVGImage>(*root, QStringLiteral("b64"));
    ASSERT_TRUE(b64);
    EXPECT_EQ(b64->image().size(), QSize(3, 2));
    EXPECT_EQ(b64->path().controlPointBounds(), QRectF(0, 0, 30, 20));
    EXPECT_EQ(findAs<PTSVGImage>(*root, QStringLiteral("pct"))->image().size(), QSize(3, 2));
    EXPECT_TRUE(findAs<PTSVGImage>(*root, QStringLiteral("file"))->image().isNull());
    EXPECT_TRUE(findAs<PTSVGImage>(*root, QStringLiteral("web"))->image().isNull());
}

TEST(SvgXml, TreesKeepAttributeOrderAndWriteBack)
{
    const QString text = QStringLiteral(
        R"svg(<svg z="1" a="2" xlink:href="#x"><!--note--><g b="&lt;&amp;&quot;">t&amp;<![CDATA[<raw>]]></g><?pi data?></svg>)svg");
    QString message;
    const auto document = PTSVGXmlReader::parse(text, &message);
    ASSERT_TRUE(document) << message.toStdString();
    const auto* root = document->firstElementChild();
    ASSERT_EQ(root->attributes().size(), 3u);
    EXPECT_EQ(root->attributes()[0].name, QStringLiteral("z"));
    EXPECT_EQ(root->attributes()[2].name, QStringLiteral("xlink:href"));
    EXPECT_EQ(root->children()[1]->textContent(), QStringLiteral("t&<raw>"));
    EXPECT_EQ(PTSVGXmlWriter::toString(*root), text.left(text.indexOf(u"<![CDATA[")) + QStringLiteral("<![CDATA[<raw>]]></g><?pi data?></svg>"));
    const auto again = PTSVGXmlReader::parse(PTSVGXmlWriter::toString(*document));
    ASSERT_TRUE(again);
    EXPECT_EQ(PTSVGXmlWriter::toString(*again), PTSVGXmlWriter::toString(*document));
}

TEST(SvgParser, DocumentsParseOnSeveralThreadsAtOnce)
{
    const QString text = QStringLiteral(R"svg(<svg viewBox="0 0 10 10">
        <style>.a { fill: #00ff00 } g > .b { stroke: #0000ff }</style>
        <defs><linearGradient id="g" gradientTransform="rotate(5)"><stop offset="0" stop-color="red"/></linearGradient></defs>
        <g transform="translate(1 2) scale(3)"><path id="p" class="a b" d="M0 0 A5 5 0 0 1 10 0 q1 1 2 2z"/></g>
        <rect id="r" width="1" height="1" fill="url(#g)"/>
    </svg>)svg");
    std::atomic<int> good{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                const auto result = PTSVGParser::groupForSVGString(text);
                if (!result.ok())
                    continue;
                const auto p = find(**result, QStringLiteral("p"));
                const auto r = find(**result, QStringLiteral("r"));
                if (p && r && hex(p->fillColor()) == "#00ff00ff" && hex(p->strokeColor()) == "#0000ffff"
                    && r->fillGradient() && r->fillGradient()->transforms().size() == 1)
                    ++good;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(good.load(), 800);
}
