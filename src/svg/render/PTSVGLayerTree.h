#pragma once

#include "platform/layers/ShapeLayer.h"

#include <QColor>
#include <QHash>
#include <QRectF>

#include <memory>
#include <unordered_set>
#include <vector>

class PTSVGGroup;
class PTSVGGroupLayer;
class PTSVGImage;
class PTSVGLayer;
class PTSVGNode;
class PTSVGPath;
class PTSVGShapeLayer;
class PTSVGStrokeLayer;

// Turns a parsed node tree into a layer tree: a group layer per group, a shape layer per path (with its
// gradient or pattern paint and its stroke as sublayers), an image layer per image, a wrapper group layer per
// transform, and a mask container for clip paths and masks. It applies the document's overrides (one fill and
// one stroke colour, stroke width, cap and join) and replacement colours to the drawn paths; mask contents keep
// their own colours, since their luminance is what masks. A builder keeps no state between trees.
class PTSVGLayerTree {
public:
    // References nested deeper than this (patterns in masks in clip paths ...) are not followed.
    static constexpr int MaximumReferenceDepth = 32;

    // Overrides; an invalid colour is none, a width of 0 or less is none, styles of 0 are none.
    QColor fillColor() const { return fillColor_; }
    void setFillColor(const QColor& color) { fillColor_ = color; }
    QColor strokeColor() const { return strokeColor_; }
    void setStrokeColor(const QColor& color) { strokeColor_ = color; }
    double strokeWidth() const { return strokeWidth_; }
    void setStrokeWidth(double width) { strokeWidth_ = width; }
    // Node numbering: 1 miter, 2 round, 3 bevel.
    qint64 lineJoinStyle() const { return lineJoinStyle_; }
    void setLineJoinStyle(qint64 style) { lineJoinStyle_ = style; }
    // Node numbering: 1 butt, 2 round, 3 square.
    qint64 lineCapStyle() const { return lineCapStyle_; }
    void setLineCapStyle(qint64 style) { lineCapStyle_ = style; }
    // Colour to colour, keyed by QColor::rgba().
    const QHash<QRgb, QColor>& replacementColors() const { return replacementColors_; }
    void setReplacementColors(const QHash<QRgb, QColor>& colors) { replacementColors_ = colors; }
    QRectF viewBox() const { return viewBox_; }
    void setViewBox(const QRectF& viewBox) { viewBox_ = viewBox; }

    // The layer of a node with its transforms around it; null for a node that draws nothing.
    std::shared_ptr<pt::Layer> layerForNode(const PTSVGNode& node);

    // The replacement of a colour, or the colour itself.
    QColor proposedColorForColor(const QColor& color) const;
    static std::vector<double> lineDashPattern(const PTSVGNode& node);
    static pt::ShapeLayer::LineCap lineCap(qint64 style);
    static pt::ShapeLayer::LineJoin lineJoin(qint64 style);
    static pt::ShapeLayer::FillRule fillRule(int rule);
    // The box of what a node draws, in its own user space (its transforms not applied).
    static QRectF boundingBox(const PTSVGNode& node);

private:
    std::shared_ptr<pt::Layer> layerForPath(const PTSVGPath& path);
    std::shared_ptr<pt::Layer> layerForGroup(const PTSVGGroup& group);
    std::shared_ptr<pt::Layer> layerForImage(const PTSVGImage& image);
    void applyDefaultsToLayer(pt::Layer& layer, const PTSVGNode& node) const;
    std::shared_ptr<pt::Layer> applyTransforms(const std::shared_ptr<pt::Layer>& layer, const PTSVGNode& node) const;
    std::shared_ptr<PTSVGShapeLayer> basicLayerForPath(const PTSVGPath& path) const;
    void applyFill(PTSVGShapeLayer& layer, const PTSVGPath& path);
    void applyStroke(PTSVGShapeLayer& layer, const PTSVGPath& path);
    std::shared_ptr<PTSVGStrokeLayer> strokeLayer(const PTSVGShapeLayer& layer, const PTSVGPath& path) const;
    std::shared_ptr<PTSVGLayer> paintLayer(const PTSVGShapeLayer& layer, const PTSVGPath& path, bool stroke);
    void maskLayer(pt::Layer& layer, const PTSVGNode& node);
    // The layer of a clip path, mask or pattern, counting depth up while it is built; null with cycle set when
    // the node is being built already (a reference back into itself) or references nest too deep.
    std::shared_ptr<pt::Layer> referencedLayer(const PTSVGGroup& node, int& depth, bool* cycle,
                                               bool withTransforms = true);
    std::shared_ptr<pt::Layer> clipPart(const PTSVGGroup& clip, const PTSVGNode& node, QPointF origin);
    std::shared_ptr<pt::Layer> maskPart(const PTSVGGroup& mask, const PTSVGNode& node, QPointF origin);
    double resolvedStrokeWidth(const PTSVGNode& node) const;
    // Whether colour overrides and replacements apply where the builder is now (not inside a mask).
    bool recolours() const { return maskDepth_ == 0; }

    QColor fillColor_;
    QColor strokeColor_;
    double strokeWidth_ = 0;
    qint64 lineJoinStyle_ = 0;
    qint64 lineCapStyle_ = 0;
    QHash<QRgb, QColor> replacementColors_;
    QRectF viewBox_;

    // While a clip path is built only outlines count: filled white, no strokes or paint, full opacity.
    int clipDepth_ = 0;
    int maskDepth_ = 0;
    // The referenced nodes (clip paths, masks, patterns) being built now: a reference back to one is a cycle.
    std::unordered_set<const PTSVGNode*> activeReferences_;
};
