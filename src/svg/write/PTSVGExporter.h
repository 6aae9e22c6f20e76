#pragma once

#include "svg/write/PTSVGExportOptions.h"
#include "svg/write/PTSVGIdGenerator.h"
#include "svg/dom/PTSVGXmlNode.h"

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <memory>

class PTSVG;
class PTSVGGroupLayer;
class PTSVGImageLayer;
class PTSVGLayerState;
class PTSVGPaintLayer;
class PTSVGShapeLayer;
namespace pt {
class Layer;
}

// Writes a document back out as SVG text by walking its layer tree, so what it writes is what the renderer
// draws: paths with their paint and stroke, gradients, patterns, masks, images as PNG data, opacity, blend modes,
// visibility and transforms. The cleaning passes chosen by the options then tidy the result. All the work happens
// in the constructor; the document is read, never changed.
class PTSVGExporter {
public:
    PTSVGExporter(PTSVG& svg, QSizeF size, PTSVGExportOptions options);

    // Pretty printed unless the options hold PTSVGExport::Compact.
    QString SVGString() const;
    QByteArray SVGData() const { return SVGString().toUtf8(); }

    // Kept for callers; not written into the output.
    const QString& title() const { return title_; }
    void setTitle(const QString& title) { title_ = title; }
    const QString& description() const { return description_; }
    void setDescription(const QString& description) { description_ = description; }

    // "%g %g %g %g" of x, y, width and height.
    static QString viewBoxWithRect(const QRectF& rect);

private:
    void prepare(PTSVG& svg);
    void makeRootElement(const QRectF& viewBox);
    PTSVGXmlNode& defElement() { return *defs_; }
    void insertDefsIfNeeded();

    // toRoot maps the parent element's user space to the root's; it places mask regions that must cover all.
    std::unique_ptr<PTSVGXmlNode> elementForLayer(pt::Layer& layer, const QTransform& toRoot);
    std::unique_ptr<PTSVGXmlNode> elementForGroup(PTSVGGroupLayer& layer, const QTransform& toRoot);
    std::unique_ptr<PTSVGXmlNode> elementForShape(PTSVGShapeLayer& layer, const QTransform& toRoot);
    std::unique_ptr<PTSVGXmlNode> elementForImage(PTSVGImageLayer& layer, const QTransform& toRoot);
    // Opacity, style and mask. offset maps the layer's coordinates (where its mask is drawn) to the element's
    // user space, toRoot that user space to the root's.
    void applyDefaults(PTSVGXmlNode& element, pt::Layer& layer, const QTransform& offset, const QTransform& toRoot);
    void applyGradient(const PTSVGPaintLayer& paint, bool stroke, PTSVGXmlNode& element);
    void applyPattern(const PTSVGPaintLayer& paint, bool stroke, PTSVGXmlNode& element);
    void applyPaintOpacity(const PTSVGPaintLayer& paint, bool stroke, PTSVGXmlNode& element);
    void applyMask(PTSVGXmlNode& element, const pt::Layer& mask, const QTransform& offset, const QTransform& toRoot);
    QString maskForParts(const std::vector<pt::Layer*>& parts, size_t index, const QTransform& offset,
                         const QTransform& toRoot);
    QString clipToRect(const QRectF& rect);

    // The share of the view box's larger side that a printed point may move by: a tenth of a pixel at a
    // thousand pixels.
    static constexpr double RenderTolerance = 1e-4;

    PTSVGExportOptions options_;
    QSizeF size_;
    PTSVGIdGenerator ids_;
    std::unique_ptr<PTSVGXmlNode> document_;
    PTSVGXmlNode* root_ = nullptr;
    PTSVGXmlNode* scaledRoot_ = nullptr;
    double scale_ = 1;
    // How far printed path points may move in the root's units; none keeps every digit.
    double rootTolerance_ = 0;
    // Pattern content is being written: tile space has no known scale to the root.
    int patternDepth_ = 0;
    // Owned here while it is outside the tree.
    std::unique_ptr<PTSVGXmlNode> defsHolder_;
    PTSVGXmlNode* defs_ = nullptr;
    QString title_;
    QString description_;
};
