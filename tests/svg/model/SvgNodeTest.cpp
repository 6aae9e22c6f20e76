// The node model: types, inheritance through the parent, definitions and copies.
#include "SvgTestTrees.h"

#include "svg/model/PTSVGForeignObject.h"
#include "svg/model/PTSVGGradient.h"
#include "svg/model/PTSVGImage.h"
#include "svg/model/PTSVGPath.h"
#include "svg/model/PTSVGText.h"

#include "platform/graphics/ImageSurface.h"

#include <cairo.h>

#include <gtest/gtest.h>

using svgtest::find;
using svgtest::findAs;
using svgtest::hex;
using svgtest::parseBody;

TEST(SvgNodes, TypesByElementName)
{
    EXPECT_EQ(PTSVGNode::typeForString(u"TSpan", false), PTSVGNodeTypeTSpan);
    EXPECT_EQ(PTSVGNode::typeForString(u"", true), PTSVGNodeTypeTSpan);
    EXPECT_EQ(PTSVGNode::typeForString(u"text", true), PTSVGNodeTypeText);
    EXPECT_EQ(PTSVGNode::typeForString(u"linearGradient", false), PTSVGNodeTypeLinearGradient);
    EXPECT_EQ(PTSVGNode::typeForString(u"clipPath", false), PTSVGNodeTypeClipPath);
    EXPECT_EQ(PTSVGNode::typeForString(u"div", false), PTSVGNodeTypeGroup);
    EXPECT_EQ(PTSVGNode::typeForString(u"font", false), PTSVGNodeTypeFont);
    EXPECT_EQ(PTSVGNode::typeForString(u"marker", false), PTSVGNodeTypeUnknown);
}

TEST(SvgNodes, ValuesResolveThroughTheParent)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <g id="g" stroke-width="3" fill-rule="evenodd" stroke-linecap="round" stroke-opacity="0.5">
          <path id="p" d="M0 0h1"/>
          <path id="q" d="M0 0h1" stroke-width="inherit" fill-rule="inherit" stroke-linecap="square"/>
        </g>
        <path id="top" d="M0 0h1"/>
    )svg"));
    ASSERT_TRUE(root);
    const auto p = find(*root, QStringLiteral("p"));
    EXPECT_DOUBLE_EQ(p->strokeWidth()->value(), 3);
    EXPECT_FALSE(p->strokeWidth()->inherit());
    EXPECT_DOUBLE_EQ(p->strokeOpacity()->value(), 0.5);
    EXPECT_EQ(p->windingRule(), 1);
    EXPECT_EQ(p->lineCapStyle(), 2);
    const auto q = find(*root, QStringLiteral("q"));
    EXPECT_DOUBLE_EQ(q->strokeWidth()->value(), 3);
    EXPECT_EQ(q->windingRule(), 1);
    EXPECT_EQ(q->lineCapStyle(), 3);
    // Nothing given anywhere: the root's defaults, still marked as never given.
    const auto top = find(*root, QStringLiteral("top"));
    EXPECT_DOUBLE_EQ(top->strokeWidth()->value(), 0);
    EXPECT_TRUE(top->strokeWidth()->inherit());
    EXPECT_FALSE(top->fillColor());
    EXPECT_EQ(top->windingRule(), 2);
    EXPECT_EQ(top->lineJoinStyle(), 4);
    EXPECT_DOUBLE_EQ(top->opacity()->value(), 1);
}

TEST(SvgNodes, TheNearestGivenPaintWins)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <defs><linearGradient id="lg"><stop offset="0" stop-color="red"/></linearGradient></defs>
        <g fill="url(#lg)" stroke="#00ff00">
          <path id="own" d="M0 0h1" fill="#0000ff" stroke="none"/>
          <path id="inherits" d="M0 0h1"/>
        </g>
    )svg"));
    ASSERT_TRUE(root);
    const auto own = find(*root, QStringLiteral("own"));
    EXPECT_EQ(hex(own->fillColor()), "#0000ffff");
    EXPECT_FALSE(own->fillGradient());
    EXPECT_EQ(hex(own->strokeColor()), "#00000000");
    const auto inherits = find(*root, QStringLiteral("inherits"));
    EXPECT_TRUE(inherits->fillGradient());
    EXPECT_FALSE(inherits->fillColor());
    EXPECT_EQ(hex(inherits->strokeColor()), "#00ff00ff");
}

TEST(SvgNodes, DefinitionsAreFoundUpTheTree)
{
    PTSVGGroup root;
    auto group = std::make_shared<PTSVGGroup>();
    group->setParentNode(&root);
    auto defined = std::make_shared<PTSVGPath>();
    defined->setIdentifier(QStringLiteral("d"));
    root.addDef(defined);
    root.addDef(std::make_shared<PTSVGPath>()); // no id: not stored
    EXPECT_EQ(group->defForID(QStringLiteral("d")), defined);
    EXPECT_EQ(group->defForID(QStringLiteral("x")), nullptr);
    auto replacement = std::make_shared<PTSVGPath>();
    replacement->setIdentifier(QStringLiteral("d"));
    root.addDef(replacement);
    EXPECT_EQ(group->defForID(QStringLiteral("d")), replacement);
}

TEST(SvgNodes, CopiesAreDeepAndReparented)
{
    const auto root = parseBody(QStringLiteral(R"svg(
        <g id="g" class="a b" stroke-dasharray="4 2"><path id="p" d="M0 0L10 10" stroke-dasharray="1 2 3"/></g>
    )svg"));
    ASSERT_TRUE(root);
    auto original = findAs<PTSVGGroup>(*root, QStringLiteral("g"));
    auto copy = std::dynamic_pointer_cast<PTSVGGroup>(original->clone());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->classNameList(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    ASSERT_EQ(copy->children().size(), 1u);
    const auto childCopy = std::dynamic_pointer_cast<PTSVGPath>(copy->children()[0]);
    ASSERT_TRUE(childCopy);
    EXPECT_NE(childCopy, original->children()[0]);
    EXPECT_EQ(childCopy->parentNode(), copy.get());
    EXPECT_EQ(childCopy->path(), std::dynamic_pointer_cast<PTSVGPath>(original->children()[0])->path());
    original.reset();
    EXPECT_EQ(childCopy->strokeDashArray(), (std::vector<double>{1, 2, 3, 1, 2, 3}));
    EXPECT_EQ(copy->strokeDashArray(), (std::vector<double>{4, 2}));
}

TEST(SvgNodes, NodesMadeOutsideTheParserCopyWhatTheyCarry)
{
    auto text = std::make_shared<PTSVGText>();
    text->setText(QStringLiteral("Label"));
    text->setUsesDefaultFillColor(true);
    auto object = std::make_shared<PTSVGForeignObject>();
    object->setRequiredExtension(QStringLiteral("http://example.org/ext"));
    text->addChild(object);
    object->setParentNode(text.get());

    const auto copy = std::dynamic_pointer_cast<PTSVGText>(text->clone());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->text(), QStringLiteral("Label"));
    EXPECT_TRUE(copy->usesDefaultFillColor());
    ASSERT_EQ(copy->children().size(), 1u);
    const auto objectCopy = std::dynamic_pointer_cast<PTSVGForeignObject>(copy->children()[0]);
    ASSERT_TRUE(objectCopy);
    EXPECT_NE(objectCopy, object);
    EXPECT_EQ(objectCopy->requiredExtension(), QStringLiteral("http://example.org/ext"));
    EXPECT_EQ(objectCopy->parentNode(), copy.get());

    copy->purgeChildren();
    EXPECT_TRUE(copy->children().empty());
    EXPECT_EQ(text->children().size(), 1u) << "the original keeps its children";
}

TEST(SvgNodes, ImagesDrawUprightOverTheirOwnOrAGivenPathsBounds)
{
    // Red above blue, so a mirrored drawing shows.
    QImage picture(2, 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::blue);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(255, 0, 0));
    PTSVGImage image;
    image.setImage(picture);
    PTSVGBezierPath elsewhere;
    elsewhere.appendRect(QRectF(10, 4, 10, 12));

    const auto draw = [&](const PTSVGBezierPath* path) {
        pt::ImageSurface surface(QSize(24, 24));
        cairo_t* cr = cairo_create(surface.surface());
        image.drawInContext(cr, path);
        cairo_destroy(cr);
        return surface.image();
    };
    EXPECT_EQ(draw(nullptr), pt::ImageSurface(QSize(24, 24)).image()) << "no size: nothing drawn";
    image.setWidth(PTSVGUnitLength(8));
    image.setHeight(PTSVGUnitLength(0));
    EXPECT_EQ(draw(nullptr).pixel(2, 0), 0u) << "a zero height: nothing drawn";

    image.setHeight(PTSVGUnitLength(8));
    const QImage own = draw(nullptr);
    EXPECT_EQ(own.pixel(4, 1), qRgb(255, 0, 0));
    EXPECT_EQ(own.pixel(4, 6), qRgb(0, 0, 255));
    EXPECT_EQ(own.pixel(4, 10), 0u);
    const QImage given = draw(&elsewhere);
    EXPECT_EQ(given.pixel(15, 5), qRgb(255, 0, 0));
    EXPECT_EQ(given.pixel(15, 14), qRgb(0, 0, 255));
    EXPECT_EQ(given.pixel(4, 1), 0u);
}
