#include "svg/model/PTSVGNode.h"

#include "svg/model/PTSVGDef.h"
#include "svg/model/PTSVGGradient.h"
#include "svg/model/PTSVGGroup.h"
#include "svg/parse/PTSVGParser.h"
#include "svg/model/PTSVGPattern.h"
#include "svg/PTSVGUtils.h"

namespace {

PTSVGUnitLength inheritedLength(double value)
{
    PTSVGUnitLength length(value);
    length.setInherit(true);
    return length;
}

struct NamedType {
    const char16_t* name;
    PTSVGNodeType type;
};

const NamedType NamedTypes[] = {
    {u"g", PTSVGNodeTypeGroup}, {u"path", PTSVGNodeTypePath}, {u"defs", PTSVGNodeTypeDefs},
    {u"polygon", PTSVGNodeTypePolygon}, {u"polyline", PTSVGNodeTypePolyline}, {u"rect", PTSVGNodeTypeRect},
    {u"line", PTSVGNodeTypeLine}, {u"circle", PTSVGNodeTypeCircle}, {u"ellipse", PTSVGNodeTypeEllipse},
    {u"use", PTSVGNodeTypeUse}, {u"lineargradient", PTSVGNodeTypeLinearGradient},
    {u"radialgradient", PTSVGNodeTypeRadialGradient}, {u"clippath", PTSVGNodeTypeClipPath},
    {u"font", PTSVGNodeTypeFont}, {u"glyph", PTSVGNodeTypeGlyph}, {u"mask", PTSVGNodeTypeMask},
    {u"image", PTSVGNodeTypeImage}, {u"pattern", PTSVGNodeTypePattern}, {u"svg", PTSVGNodeTypeSVG},
    {u"text", PTSVGNodeTypeText}, {u"tspan", PTSVGNodeTypeTSpan}, {u"style", PTSVGNodeTypeStyle},
    {u"switch", PTSVGNodeTypeSwitch},
};

} // namespace

PTSVGNode::PTSVGNode()
    : fillOpacity_(inheritedLength(1.0)), strokeOpacity_(inheritedLength(1.0)), strokeWidth_(inheritedLength(0.0)),
      opacity_(PTSVGUnitLength(1.0)), strokeDashOffset_(inheritedLength(0.0))
{
}

PTSVGNode::~PTSVGNode() = default;

PTSVGNodeType PTSVGNode::typeForString(QStringView name, bool isTextNode)
{
    for (const auto& entry : NamedTypes) {
        if (name.compare(QStringView(entry.name), Qt::CaseInsensitive) == 0)
            return entry.type;
    }
    if (isTextNode)
        return PTSVGNodeTypeTSpan;
    if (PTSVGIsHTMLTag(name))
        return PTSVGNodeTypeGroup;
    return PTSVGNodeTypeUnknown;
}

std::shared_ptr<PTSVGNode> PTSVGNode::clone() const
{
    auto copy = std::make_shared<PTSVGNode>();
    copy->applyPropertiesFromNode(*this);
    return copy;
}

void PTSVGNode::applyPropertiesFromNode(const PTSVGNode& other)
{
    shouldRender_ = other.shouldRender_;
    usesDefaultFillColor_ = other.usesDefaultFillColor_;
    type_ = other.type_;
    name_ = other.name_;
    classNameList_ = other.classNameList_;
    className_ = other.className_;
    unicode_ = other.unicode_;
    x_ = other.x_;
    y_ = other.y_;
    width_ = other.width_;
    height_ = other.height_;
    fillColor_ = other.fillColor_;
    fillOpacity_ = other.fillOpacity_;
    strokeColor_ = other.strokeColor_;
    strokeOpacity_ = other.strokeOpacity_;
    strokeWidth_ = other.strokeWidth_;
    opacity_ = other.opacity_;
    color_ = other.color_;
    identifier_ = other.identifier_;
    parentNode_ = other.parentNode_;
    intermediateParentNode_ = other.intermediateParentNode_;
    transforms_ = other.transforms_;
    windingRule_ = other.windingRule_;
    clipRule_ = other.clipRule_;
    aspectRatio_ = other.aspectRatio_;
    def_ = other.def_;
    fillGradient_ = other.fillGradient_;
    strokeGradient_ = other.strokeGradient_;
    fillPattern_ = other.fillPattern_;
    strokePattern_ = other.strokePattern_;
    clipPath_ = other.clipPath_;
    lineCapStyle_ = other.lineCapStyle_;
    lineJoinStyle_ = other.lineJoinStyle_;
    strokeDashArray_ = other.strokeDashArray_;
    strokeDashOffset_ = other.strokeDashOffset_;
    svg_ = other.svg_;
    mask_ = other.mask_;
    units_ = other.units_;
    contentUnits_ = other.contentUnits_;
    blendMode_ = other.blendMode_;
}

void PTSVGNode::addDef(const std::shared_ptr<PTSVGNode>& node)
{
    if (!node || node->identifier().isEmpty())
        return;
    if (!def_)
        def_ = std::make_shared<PTSVGDef>();
    def_->addDef(node);
}

std::shared_ptr<PTSVGNode> PTSVGNode::defForID(const QString& identifier) const
{
    for (const PTSVGNode* node = this; node; node = node->parentNode_) {
        if (node->def_) {
            if (auto found = node->def_->defForID(identifier))
                return found;
        }
    }
    return nullptr;
}

void PTSVGNode::setClassName(const QString& className)
{
    className_ = className;
    classNameList_ = className.split(u' ');
}

const PTSVGNode* PTSVGNode::fillSource() const
{
    const PTSVGNode* node = this;
    while (node && !node->hasOwnFill())
        node = node->parentNode_;
    return node;
}

const PTSVGNode* PTSVGNode::strokeSource() const
{
    const PTSVGNode* node = this;
    while (node && !node->hasOwnStroke())
        node = node->parentNode_;
    return node;
}

std::optional<QColor> PTSVGNode::fillColor() const
{
    const PTSVGNode* source = fillSource();
    return source ? source->fillColor_ : std::nullopt;
}

std::shared_ptr<PTSVGGradient> PTSVGNode::fillGradient() const
{
    const PTSVGNode* source = fillSource();
    return source ? source->fillGradient_ : nullptr;
}

std::shared_ptr<PTSVGPattern> PTSVGNode::fillPattern() const
{
    const PTSVGNode* source = fillSource();
    return source ? source->fillPattern_ : nullptr;
}

std::optional<QColor> PTSVGNode::strokeColor() const
{
    const PTSVGNode* source = strokeSource();
    return source ? source->strokeColor_ : std::nullopt;
}

std::shared_ptr<PTSVGGradient> PTSVGNode::strokeGradient() const
{
    const PTSVGNode* source = strokeSource();
    return source ? source->strokeGradient_ : nullptr;
}

std::shared_ptr<PTSVGPattern> PTSVGNode::strokePattern() const
{
    const PTSVGNode* source = strokeSource();
    return source ? source->strokePattern_ : nullptr;
}

QColor PTSVGNode::color() const
{
    for (const PTSVGNode* node = this; node; node = node->parentNode_) {
        if (node->color_)
            return *node->color_;
    }
    return Qt::black;
}

PTSVGNode::Length PTSVGNode::resolvedLength(Length PTSVGNode::*field) const
{
    const PTSVGNode* node = this;
    while ((node->*field) && (node->*field)->inherit() && node->parentNode_)
        node = node->parentNode_;
    return node->*field;
}

const std::vector<double>& PTSVGNode::strokeDashArray() const
{
    static const std::vector<double> solid;
    for (const PTSVGNode* node = this; node; node = node->parentNode_) {
        if (node->strokeDashArray_)
            return *node->strokeDashArray_;
    }
    return solid;
}

int PTSVGNode::windingRule() const
{
    const PTSVGNode* node = this;
    while (node->windingRule_ == 2 && node->parentNode_)
        node = node->parentNode_;
    return node->windingRule_;
}

int PTSVGNode::clipRule() const
{
    const PTSVGNode* node = this;
    while (node->clipRule_ == 2 && node->parentNode_)
        node = node->parentNode_;
    return node->clipRule_;
}

int PTSVGNode::lineCapStyle() const
{
    const PTSVGNode* node = this;
    while (node->lineCapStyle_ == 4 && node->parentNode_)
        node = node->parentNode_;
    return node->lineCapStyle_;
}

int PTSVGNode::lineJoinStyle() const
{
    const PTSVGNode* node = this;
    while (node->lineJoinStyle_ == 4 && node->parentNode_)
        node = node->parentNode_;
    return node->lineJoinStyle_;
}
