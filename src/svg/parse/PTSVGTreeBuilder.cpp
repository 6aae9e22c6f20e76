#include "svg/parse/PTSVGTreeBuilder.h"

#include "platform/runtime/Logging.h"
#include "svg/parse/PTSVGAttributeReader.h"
#include "svg/model/PTSVGImage.h"
#include "svg/model/PTSVGLinearGradient.h"
#include "svg/model/PTSVGPath.h"
#include "svg/model/PTSVGPattern.h"
#include "svg/model/PTSVGRadialGradient.h"
#include "svg/parse/PTSVGShapeReader.h"
#include "svg/parse/PTSVGStyleSheet.h"
#include "svg/PTSVGUtils.h"
#include "svg/dom/PTSVGXmlNode.h"
#include "svg/dom/PTSVGXmlWriter.h"

#include <algorithm>

namespace {

PTSVGNodeType typeOf(const PTSVGXmlNode& node)
{
    return PTSVGNode::typeForString(node.isElement() ? node.localName() : QStringView(), node.isText());
}

// The target of a reference attribute: SVG 2's href, or xlink:href; only same-document "#id" references count.
QString referencedID(const PTSVGXmlNode& element)
{
    const QString* href = element.attribute(u"xlink:href");
    if (!href)
        href = element.attribute(u"href");
    if (!href || !href->startsWith(u'#'))
        return {};
    return href->mid(1);
}

template <typename Node>
std::shared_ptr<Node> makeNode(const PTSVGXmlNode& element, PTSVGNodeType type, PTSVGGroup* parent)
{
    auto node = std::make_shared<Node>();
    node->setType(type);
    node->setName(element.localName().toString());
    node->setParentNode(parent);
    return node;
}

// Gradients and masks measure in the object's bounding box unless told otherwise.
void setupDefaults(PTSVGNode& node)
{
    const auto type = node.type();
    if (type == PTSVGNodeTypeLinearGradient || type == PTSVGNodeTypeRadialGradient || type == PTSVGNodeTypeMask)
        node.setUnits(1);
}

// Whether a referenced node draws something when placed in the tree by a use element.
bool isDrawable(const PTSVGNode& node)
{
    if (dynamic_cast<const PTSVGPath*>(&node))
        return node.type() != PTSVGNodeTypeGlyph;
    if (dynamic_cast<const PTSVGImage*>(&node))
        return true;
    if (dynamic_cast<const PTSVGPattern*>(&node))
        return false;
    if (dynamic_cast<const PTSVGGroup*>(&node)) {
        const auto type = node.type();
        return type == PTSVGNodeTypeGroup || type == PTSVGNodeTypeSwitch || type == PTSVGNodeTypeSVG;
    }
    return false;
}

} // namespace

const PTSVGTreeBuilder::Handler PTSVGTreeBuilder::Handlers[PTSVGNodeTypeUnknown + 1] = {
    &PTSVGTreeBuilder::parseGroup,      // g
    &PTSVGTreeBuilder::parsePath,       // path
    nullptr,                            // defs: its children are handled by parseDefsForElement
    &PTSVGTreeBuilder::parseShape,      // polygon
    &PTSVGTreeBuilder::parseShape,      // polyline
    &PTSVGTreeBuilder::parseRect,       // rect
    &PTSVGTreeBuilder::parseShape,      // line
    &PTSVGTreeBuilder::parseShape,      // circle
    &PTSVGTreeBuilder::parseShape,      // ellipse
    &PTSVGTreeBuilder::parseUse,        // use
    &PTSVGTreeBuilder::parseGradient,   // linearGradient
    &PTSVGTreeBuilder::parseGradient,   // radialGradient
    &PTSVGTreeBuilder::parseClipPath,   // clipPath
    &PTSVGTreeBuilder::parseGroup,      // font
    &PTSVGTreeBuilder::parseGlyph,      // glyph
    &PTSVGTreeBuilder::parseGroup,      // mask
    &PTSVGTreeBuilder::parseImage,      // image
    &PTSVGTreeBuilder::parsePattern,    // pattern
    &PTSVGTreeBuilder::parseNestedSVG,  // svg
    nullptr,                            // text
    nullptr,                            // tspan and text nodes
    &PTSVGTreeBuilder::parseStyle,      // style
    &PTSVGTreeBuilder::parseGroup,      // switch
    nullptr,                            // anything else
};

PTSVGTreeBuilder::PTSVGTreeBuilder(PTSVGParser& parser, const PTSVGXmlNode& root,
                                   const PTSVGParser::FoundSubSVG& foundSubSVG, const QSizeF* parentViewport,
                                   PTSVGParseBudget& budget)
    : parser_(parser), root_(root), foundSubSVG_(foundSubSVG), parentViewport_(parentViewport), budget_(budget)
{
}

PTSVGTreeBuilder::~PTSVGTreeBuilder() = default;

void PTSVGTreeBuilder::parse()
{
    parseRoot();
}

void PTSVGTreeBuilder::parseRoot()
{
    // A nested document's position belongs to the group that holds it in the outer tree.
    if (parentViewport_)
        applyAttributes(root_, parser_, {u"x", u"y"});
    else
        applyAttributes(root_, parser_);
    readViewBox();
    parser_.setName(root_.localName().toString());
    parseBlock(root_, parser_);
}

void PTSVGTreeBuilder::readViewBox()
{
    // A size in per cent refers to the parent viewport: a fraction of it in a nested document, nothing at the
    // root (which has none), where the other size or the view box fills in.
    auto sizeAttribute = [&](QStringView name, double parentSize) -> double {
        const QString* text = root_.attribute(name);
        if (!text)
            return parentViewport_ ? parentSize : 0;
        const float value = PTSVGUtils::leadingFloat(*text);
        if (text->trimmed().endsWith(u'%'))
            return parentViewport_ ? value / 100.0 * parentSize : 0;
        return value;
    };
    const double parentWidth = parentViewport_ ? parentViewport_->width() : 0;
    const double parentHeight = parentViewport_ ? parentViewport_->height() : 0;
    double width = sizeAttribute(u"width", parentWidth);
    double height = sizeAttribute(u"height", parentHeight);
    if (const QString* viewBox = root_.attribute(u"viewBox")) {
        auto numbers = PTSVGUtils::parseViewBox(*viewBox);
        numbers.resize(4, 0.0);
        parser_.viewBox_ = QRectF(numbers[0], numbers[1], numbers[2], numbers[3]);
    } else {
        const double w = width == 0 ? height : width;
        const double h = height == 0 ? width : height;
        parser_.viewBox_ = QRectF(0, 0, w, h);
    }
    parser_.proposedViewSize_ = QSizeF(width == 0 ? parser_.viewBox_.width() : width,
                                       height == 0 ? parser_.viewBox_.height() : height);
}

void PTSVGTreeBuilder::parseBlock(const PTSVGXmlNode& element, PTSVGGroup& group)
{
    parseDefsForElement(element);
    for (const auto& child : element.children())
        parseBaseBlock(*child, group);
}

void PTSVGTreeBuilder::parseDefsForElement(const PTSVGXmlNode& element)
{
    for (const auto& defs : element.children()) {
        if (!defs->isElement() || typeOf(*defs) != PTSVGNodeTypeDefs)
            continue;
        // A defs inside a defs defines as much as the outer one.
        parseDefsForElement(*defs);
        for (const auto& child : defs->children()) {
            if (!child->isElement())
                continue;
            const auto type = typeOf(*child);
            if (type == PTSVGNodeTypeFont || type == PTSVGNodeTypeGlyph || type == PTSVGNodeTypeStyle)
                parseBaseBlock(*child, parser_);
            else if (type != PTSVGNodeTypeUnknown && child->hasAttribute(u"id"))
                baseDefinitions_.insert(child->attributeValue(u"id"), child.get());
        }
    }
}

void PTSVGTreeBuilder::parseBaseBlock(const PTSVGXmlNode& element, PTSVGGroup& parent)
{
    if (!element.isElement())
        return;
    if (budget_.nodes >= PTSVGParseBudget::MaximumNodes)
        return;
    ++budget_.nodes;
    if (!budget_.referenceStack.empty())
        ++budget_.referencedNodes;
    const auto type = typeOf(element);
    if (const Handler handler = Handlers[type])
        (this->*handler)(element, parent, type);
}

void PTSVGTreeBuilder::applyAttributes(const PTSVGXmlNode& element, PTSVGNode& node,
                                       std::initializer_list<QStringView> ignore)
{
    PTSVGAttributeReader(*this, element, node, ignore).apply();
}

void PTSVGTreeBuilder::recordIdElement(const QString& identifier, const PTSVGXmlNode& element)
{
    idElements_.insert(identifier, &element);
}

const PTSVGXmlNode* PTSVGTreeBuilder::elementForID(const QString& identifier) const
{
    if (const auto* element = baseDefinitions_.value(identifier))
        return element;
    return idElements_.value(identifier);
}

template <typename Work>
bool PTSVGTreeBuilder::followReference(const PTSVGXmlNode& element, Work&& work)
{
    auto& stack = budget_.referenceStack;
    if (std::find(stack.begin(), stack.end(), &element) != stack.end()
        || stack.size() >= size_t(PTSVGParseBudget::MaximumReferenceDepth) || budget_.referencesExhausted()) {
        qCDebug(lcSvg) << "reference dropped (cycle or limit):" << element.attributeValue(u"id");
        return false;
    }
    stack.push_back(&element);
    work();
    stack.pop_back();
    return true;
}

std::shared_ptr<PTSVGNode> PTSVGTreeBuilder::definedObjectForID(const QString& identifier)
{
    const PTSVGXmlNode* element = identifier.isEmpty() ? nullptr : elementForID(identifier);
    if (!element)
        return nullptr;
    auto group = std::make_shared<PTSVGGroup>();
    if (!followReference(*element, [&] { parseBaseBlock(*element, *group); }))
        return nullptr;
    parser_.definedGroups_.push_back(group);
    return group->defForID(identifier);
}

void PTSVGTreeBuilder::parseGroup(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    auto group = makeNode<PTSVGGroup>(element, type, &parent);
    if (type == PTSVGNodeTypeGroup || type == PTSVGNodeTypeSwitch)
        parent.addChild(group);
    setupDefaults(*group);
    applyAttributes(element, *group);
    parseBlock(element, *group);
    parent.addDef(group);
}

void PTSVGTreeBuilder::parsePath(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    auto path = makeNode<PTSVGPath>(element, type, &parent);
    parent.addChild(path);
    setupDefaults(*path);
    applyAttributes(element, *path);
    PTSVGShapeReader::parsePathCommandData(element.attributeValue(u"d"), *path);
    parent.addDef(path);
}

void PTSVGTreeBuilder::parseShape(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    auto path = makeNode<PTSVGPath>(element, type, &parent);
    parent.addChild(path);
    setupDefaults(*path);
    applyAttributes(element, *path);
    switch (type) {
    case PTSVGNodeTypePolygon:
        PTSVGShapeReader::parsePoly(element, *path, true);
        break;
    case PTSVGNodeTypePolyline:
        PTSVGShapeReader::parsePoly(element, *path, false);
        break;
    case PTSVGNodeTypeCircle:
        PTSVGShapeReader::parseCircle(element, *path);
        break;
    case PTSVGNodeTypeEllipse:
        PTSVGShapeReader::parseEllipse(element, *path);
        break;
    default:
        PTSVGShapeReader::parseLine(element, *path);
        break;
    }
    parent.addDef(path);
}

void PTSVGTreeBuilder::parseRect(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    auto path = makeNode<PTSVGPath>(element, type, &parent);
    parent.addChild(path);
    // The position is part of the geometry, so x and y are not kept as attributes.
    PTSVGShapeReader::parseRect(element, *path, parser_.viewBox_);
    setupDefaults(*path);
    applyAttributes(element, *path, {u"x", u"y"});
    parent.addDef(path);
}

void PTSVGTreeBuilder::parseUse(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType)
{
    const auto node = definedObjectForID(referencedID(element));
    if (!node || !isDrawable(*node))
        return;
    // The use element becomes the group around a fresh copy of what it references: its presentation
    // attributes are inherited by the copy, its transform applies outside its x/y translation.
    auto group = makeNode<PTSVGGroup>(element, PTSVGNodeTypeGroup, &parent);
    parent.addChild(group);
    applyAttributes(element, *group, {u"x", u"y", u"width", u"height", u"xlink:href", u"href"});
    auto transforms = group->transforms();
    transforms.push_back(PTSVGTransform::transformByTranslatingX(PTSVGUtils::leadingFloat(element.attributeValue(u"x")),
                                                                 PTSVGUtils::leadingFloat(element.attributeValue(u"y"))));
    group->setTransforms(std::move(transforms));
    node->setIdentifier({});
    node->setParentNode(group.get());
    node->setIntermediateParentNode(group.get());
    group->addChild(node);
    parent.addDef(group);
}

std::unique_ptr<PTSVGXmlNode> PTSVGTreeBuilder::mergedGradientElement(const PTSVGXmlNode& element)
{
    const QString id = referencedID(element);
    const PTSVGXmlNode* referenced = id.isEmpty() ? nullptr : elementForID(id);
    std::unique_ptr<PTSVGXmlNode> base;
    if (referenced) {
        const auto type = typeOf(*referenced);
        if (type == PTSVGNodeTypeLinearGradient || type == PTSVGNodeTypeRadialGradient)
            followReference(*referenced, [&] { base = mergedGradientElement(*referenced); });
    }
    if (!base)
        return element.clone();
    // The referring element's attributes win; its own stops, when it has any, replace the referenced ones.
    const bool ownStops = std::any_of(element.children().begin(), element.children().end(),
                                      [](const auto& child) { return child->isElement(); });
    auto merged = std::make_unique<PTSVGXmlNode>(PTSVGXmlNode::Kind::Element, element.name());
    // The id stays the referring element's own: taking the referenced one's would make this gradient stand
    // in for it.
    for (const auto& attribute : base->attributes()) {
        if (attribute.name != u"id")
            merged->setAttribute(attribute.name, attribute.value);
    }
    for (const auto& attribute : element.attributes())
        merged->setAttribute(attribute.name, attribute.value);
    for (const auto& child : (ownStops ? element : *base).children())
        merged->appendChild(child->clone());
    return merged;
}

void PTSVGTreeBuilder::parseGradient(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    const bool hasReference = !referencedID(element).isEmpty();
    const std::unique_ptr<PTSVGXmlNode> merged = hasReference ? mergedGradientElement(element) : nullptr;
    const PTSVGXmlNode& source = merged ? *merged : element;
    std::shared_ptr<PTSVGGradient> gradient;
    if (type == PTSVGNodeTypeLinearGradient) {
        auto linear = makeNode<PTSVGLinearGradient>(element, type, &parent);
        PTSVGLinearGradient::parseGradient(source, *linear);
        gradient = linear;
    } else {
        auto radial = makeNode<PTSVGRadialGradient>(element, type, &parent);
        PTSVGRadialGradient::parseGradient(source, *radial);
        gradient = radial;
    }
    setupDefaults(*gradient);
    applyAttributes(source, *gradient);
    // The id belongs to this element: the merged copy is gone once parsing ends.
    if (merged && !gradient->identifier().isEmpty())
        recordIdElement(gradient->identifier(), element);
    parent.addDef(gradient);
}

void PTSVGTreeBuilder::parseClipPath(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    auto group = makeNode<PTSVGGroup>(element, type, &parent);
    setupDefaults(*group);
    applyAttributes(element, *group);
    parseBlock(element, *group);
    parent.addDef(group);
}

void PTSVGTreeBuilder::parseGlyph(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    const QString data = element.attributeValue(u"d");
    if (data.isEmpty())
        return;
    auto glyph = makeNode<PTSVGPath>(element, type, &parent);
    setupDefaults(*glyph);
    applyAttributes(element, *glyph);
    PTSVGShapeReader::parsePathCommandData(data, *glyph);
    const QRectF bounds = glyph->path().controlPointBounds();
    if (bounds.width() > 0 && bounds.height() > 0)
        parser_.glyphs_.push_back(glyph);
}

void PTSVGTreeBuilder::parseImage(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    auto image = makeNode<PTSVGImage>(element, type, &parent);
    setupDefaults(*image);
    applyAttributes(element, *image);
    const QString* href = element.attribute(u"xlink:href");
    if (!href)
        href = element.attribute(u"href");
    if (href)
        image->loadFromBase64EncodedString(*href);
    parent.addChild(image);
    parent.addDef(image);
}

void PTSVGTreeBuilder::parsePattern(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    auto pattern = makeNode<PTSVGPattern>(element, type, &parent);
    setupDefaults(*pattern);
    applyAttributes(element, *pattern);
    parseBlock(element, *pattern);
    parent.addDef(pattern);
}

void PTSVGTreeBuilder::parseNestedSVG(const PTSVGXmlNode& element, PTSVGGroup& parent, PTSVGNodeType type)
{
    auto group = makeNode<PTSVGGroup>(element, type, &parent);
    setupDefaults(*group);
    applyAttributes(element, *group);
    const QSizeF viewport = parser_.viewBox_.size();
    auto nested = PTSVGParser::groupForElement(element, {}, &viewport, &budget_);
    if (!nested) {
        qCDebug(lcSvg) << "nested svg dropped:" << nested.error().toString();
        return;
    }
    if (foundSubSVG_) {
        auto copy = element.clone();
        copy->removeAttribute(u"x");
        copy->removeAttribute(u"y");
        foundSubSVG_(parser_, *nested, PTSVGXmlWriter::toString(*copy));
    }
    group->setSvg(*nested);
    parent.addChild(group);
    parent.addDef(group);
    parser_.subSVGs_.push_back(*nested);
}

void PTSVGTreeBuilder::parseStyle(const PTSVGXmlNode& element, PTSVGGroup&, PTSVGNodeType)
{
    if (!styleSheet_)
        styleSheet_ = std::make_unique<PTSVGStyleSheet>();
    styleSheet_->parseStyleBlock(element.textContent());
}
