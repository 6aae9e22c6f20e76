#pragma once

#include "svg/model/PTSVGAspectRatio.h"
#include "svg/model/PTSVGNodeType.h"
#include "svg/model/PTSVGTransform.h"
#include "svg/model/PTSVGUnitLength.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class PTSVGDef;
class PTSVGGradient;
class PTSVGGroup;
class PTSVGParser;
class PTSVGPattern;

// One element of a parsed SVG document with every presentation value it was given. Values not given (or given
// as "inherit") resolve on read through the parent, so the tree carries SVG's inheritance. A tree lives as long
// as its root; parent references do not own.
class PTSVGNode {
public:
    using Length = std::optional<PTSVGUnitLength>;

    PTSVGNode();
    virtual ~PTSVGNode();
    PTSVGNode(const PTSVGNode&) = delete;
    PTSVGNode& operator=(const PTSVGNode&) = delete;

    // The type of an element by its local name (case-insensitive); every text node is a tspan.
    static PTSVGNodeType typeForString(QStringView name, bool isTextNode);

    // A copy of this node (of its own class); groups copy their children too, re-parented to the copy.
    virtual std::shared_ptr<PTSVGNode> clone() const;
    // Takes every field of the other node, parent and definitions included (the definitions are shared).
    void applyPropertiesFromNode(const PTSVGNode& other);

    // Definitions registered under this node, by id.
    void addDef(const std::shared_ptr<PTSVGNode>& node);
    // The definition with this id here or at the nearest ancestor that has one.
    std::shared_ptr<PTSVGNode> defForID(const QString& identifier) const;

    bool shouldRender() const { return shouldRender_; }
    void setShouldRender(bool render) { shouldRender_ = render; }
    // Carried by copies; the parser never sets it.
    bool usesDefaultFillColor() const { return usesDefaultFillColor_; }
    void setUsesDefaultFillColor(bool uses) { usesDefaultFillColor_ = uses; }
    PTSVGNodeType type() const { return type_; }
    void setType(PTSVGNodeType type) { type_ = type; }
    // The element's local name as written.
    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name; }
    const QString& className() const { return className_; }
    void setClassName(const QString& className);
    const QStringList& classNameList() const { return classNameList_; }
    // A glyph's code point as four lower-case hex digits.
    const QString& unicode() const { return unicode_; }
    void setUnicode(const QString& unicode) { unicode_ = unicode; }
    const QString& identifier() const { return identifier_; }
    void setIdentifier(const QString& identifier) { identifier_ = identifier; }

    // Geometry lengths; absent when not given.
    const Length& x() const { return x_; }
    const Length& y() const { return y_; }
    const Length& width() const { return width_; }
    const Length& height() const { return height_; }
    void setX(const Length& length) { x_ = length; }
    void setY(const Length& length) { y_ = length; }
    void setWidth(const Length& length) { width_ = length; }
    void setHeight(const Length& length) { height_ = length; }

    // Paint. The nearest node (itself or an ancestor) that was given a fill decides all three fill getters,
    // so a colour given on a child hides a gradient given on its group; likewise for the stroke. A fill of
    // "none" is a colour with alpha 0. No value anywhere: all three are empty.
    std::optional<QColor> fillColor() const;
    std::shared_ptr<PTSVGGradient> fillGradient() const;
    std::shared_ptr<PTSVGPattern> fillPattern() const;
    std::optional<QColor> strokeColor() const;
    std::shared_ptr<PTSVGGradient> strokeGradient() const;
    std::shared_ptr<PTSVGPattern> strokePattern() const;
    void setFillColor(const std::optional<QColor>& color) { fillColor_ = color; }
    void setFillGradient(const std::shared_ptr<PTSVGGradient>& gradient) { fillGradient_ = gradient; }
    void setFillPattern(const std::shared_ptr<PTSVGPattern>& pattern) { fillPattern_ = pattern; }
    void setStrokeColor(const std::optional<QColor>& color) { strokeColor_ = color; }
    void setStrokeGradient(const std::shared_ptr<PTSVGGradient>& gradient) { strokeGradient_ = gradient; }
    void setStrokePattern(const std::shared_ptr<PTSVGPattern>& pattern) { strokePattern_ = pattern; }
    // The CSS color property, which currentColor stands for: inherited, black when nothing sets it.
    QColor color() const;
    void setColor(const std::optional<QColor>& color) { color_ = color; }

    // Lengths that resolve through the parent while their inherit flag is set. Defaults: opacity 1, fill
    // opacity 1 (inherited), stroke opacity 1 (inherited), stroke width 0 (inherited: a width whose inherit
    // flag is still set after resolving was given nowhere), dash offset 0.
    Length opacity() const { return resolvedLength(&PTSVGNode::opacity_); }
    Length fillOpacity() const { return resolvedLength(&PTSVGNode::fillOpacity_); }
    Length strokeOpacity() const { return resolvedLength(&PTSVGNode::strokeOpacity_); }
    Length strokeWidth() const { return resolvedLength(&PTSVGNode::strokeWidth_); }
    Length strokeDashOffset() const { return resolvedLength(&PTSVGNode::strokeDashOffset_); }
    void setOpacity(const Length& length) { opacity_ = length; }
    void setFillOpacity(const Length& length) { fillOpacity_ = length; }
    void setStrokeOpacity(const Length& length) { strokeOpacity_ = length; }
    void setStrokeWidth(const Length& length) { strokeWidth_ = length; }
    void setStrokeDashOffset(const Length& length) { strokeDashOffset_ = length; }

    // 0 nonzero, 1 evenodd; 2 (inherit) resolves through the parent and stays 2 at the root.
    int windingRule() const;
    void setWindingRule(int rule) { windingRule_ = rule; }
    // The rule of outlines inside a clip path, numbered as windingRule and inherited the same way.
    int clipRule() const;
    void setClipRule(int rule) { clipRule_ = rule; }
    // 1 butt, 2 round, 3 square; 4 (inherit) resolves through the parent and stays 4 at the root.
    int lineCapStyle() const;
    void setLineCapStyle(int style) { lineCapStyle_ = style; }
    // 1 miter, 2 round, 3 bevel; 4 (inherit) resolves through the parent and stays 4 at the root.
    int lineJoinStyle() const;
    void setLineJoinStyle(int style) { lineJoinStyle_ = style; }
    // Dash lengths, always an even count; empty for a solid line. Inherited from the parent when not given.
    const std::vector<double>& strokeDashArray() const;
    void setStrokeDashArray(std::vector<double> dashes) { strokeDashArray_ = std::move(dashes); }

    // The node's own transforms in written order (fold them with PTSVGConcatTransforms).
    const std::vector<PTSVGTransform>& transforms() const { return transforms_; }
    void setTransforms(std::vector<PTSVGTransform> transforms) { transforms_ = std::move(transforms); }

    PTSVGNode* parentNode() const { return parentNode_; }
    void setParentNode(PTSVGNode* parent) { parentNode_ = parent; }
    // The group made around the node a use element references.
    PTSVGNode* intermediateParentNode() const { return intermediateParentNode_; }
    void setIntermediateParentNode(PTSVGNode* parent) { intermediateParentNode_ = parent; }

    const std::shared_ptr<PTSVGGroup>& clipPath() const { return clipPath_; }
    void setClipPath(const std::shared_ptr<PTSVGGroup>& clipPath) { clipPath_ = clipPath; }
    const std::shared_ptr<PTSVGGroup>& mask() const { return mask_; }
    void setMask(const std::shared_ptr<PTSVGGroup>& mask) { mask_ = mask; }
    // The separately parsed document of a nested svg element, drawn in this group's place.
    const std::shared_ptr<PTSVGParser>& svg() const { return svg_; }
    void setSvg(const std::shared_ptr<PTSVGParser>& svg) { svg_ = svg; }

    // 0 userSpaceOnUse, 1 objectBoundingBox, 2 not given.
    int units() const { return units_; }
    void setUnits(int units) { units_ = units; }
    int contentUnits() const { return contentUnits_; }
    void setContentUnits(int units) { contentUnits_ = units; }
    // How an svg element's view box or an image fits its viewport.
    const PTSVGAspectRatio& aspectRatio() const { return aspectRatio_; }
    void setAspectRatio(const PTSVGAspectRatio& ratio) { aspectRatio_ = ratio; }
    // Blend mode number (PTSVGUtils::blendModeForString); 0 normal.
    int blendMode() const { return blendMode_; }
    void setBlendMode(int mode) { blendMode_ = mode; }

    // Whether this node itself was given a fill / a stroke (colour, gradient or pattern).
    bool hasOwnFill() const { return fillColor_ || fillGradient_ || fillPattern_; }
    bool hasOwnStroke() const { return strokeColor_ || strokeGradient_ || strokePattern_; }

private:
    Length resolvedLength(Length PTSVGNode::*field) const;
    const PTSVGNode* fillSource() const;
    const PTSVGNode* strokeSource() const;

    bool shouldRender_ = true;
    bool usesDefaultFillColor_ = false;
    PTSVGNodeType type_ = PTSVGNodeTypeGroup;
    QString name_;
    QStringList classNameList_;
    QString className_;
    QString unicode_;
    Length x_, y_, width_, height_;
    std::optional<QColor> fillColor_;
    Length fillOpacity_;
    std::optional<QColor> strokeColor_;
    Length strokeOpacity_;
    Length strokeWidth_;
    Length opacity_;
    std::optional<QColor> color_;
    QString identifier_;
    PTSVGNode* parentNode_ = nullptr;
    PTSVGNode* intermediateParentNode_ = nullptr;
    std::vector<PTSVGTransform> transforms_;
    int windingRule_ = 2;
    int clipRule_ = 2;
    std::shared_ptr<PTSVGDef> def_;
    std::shared_ptr<PTSVGGradient> fillGradient_, strokeGradient_;
    std::shared_ptr<PTSVGPattern> fillPattern_, strokePattern_;
    std::shared_ptr<PTSVGGroup> clipPath_;
    int lineCapStyle_ = 4;
    int lineJoinStyle_ = 4;
    std::optional<std::vector<double>> strokeDashArray_;
    Length strokeDashOffset_;
    std::shared_ptr<PTSVGParser> svg_;
    std::shared_ptr<PTSVGGroup> mask_;
    int units_ = 2;
    int contentUnits_ = 2;
    int blendMode_ = 0;
    PTSVGAspectRatio aspectRatio_;
};
