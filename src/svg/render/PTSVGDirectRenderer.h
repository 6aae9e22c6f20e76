#pragma once

#include "platform/graphics/ImageSurface.h"
#include "platform/layers/ShapeLayer.h"

#include <QRectF>

#include <cairo.h>

#include <vector>

// The document's second rendering engine: walks an SVG layer tree and draws it straight into a cairo context,
// without the layers' own compositing. It draws plain shapes only, and more simply than the layers do:
// - a layer's transform applies about the context origin (its anchor point and position are not used), and a
//   path layer moves the context to its frame origin for itself and its sublayers;
// - each layer sets the drawing alpha to its own opacity, so the opacities of nested layers do not multiply;
// - a mask clips through a greyscale bitmap of it (luminance times alpha);
// - only path layers paint: a solid or gradient fill and a stroke in the stroke layer's colour, so images and
//   pattern paint show nothing and a painted stroke draws black;
// - stroke and gradient-paint layers are drawn through the path layer that owns them, never on their own.
// A renderer keeps nothing between calls but its three fields, which the document sets before each drawing.
class PTSVGDirectRenderer {
public:
    enum class ColorSpace { RGB, Gray };

    // Drawing scale of the document and backing scale of the destination; their product is the resolution of
    // mask bitmaps.
    double scale() const { return scale_; }
    void setScale(double scale) { scale_ = scale; }
    double backingScale() const { return backingScale_; }
    void setBackingScale(double scale) { backingScale_ = scale; }
    // The rectangle the document draws into; kept for the caller, not used in drawing.
    QRectF viewPort() const { return viewPort_; }
    void setViewPort(const QRectF& viewPort) { viewPort_ = viewPort; }

    // Draws the layer and its sublayers; a null, hidden, flattened (transform without inverse), stroke or
    // gradient-paint layer draws nothing.
    void renderLayer(pt::Layer* layer, cairo_t* cr);
    // Draws one layer's own paint (path layers only). Leaves the context translated to a path layer's frame
    // origin, for its sublayers; the caller's save and restore undo it.
    void renderLayerPaint(pt::Layer& layer, cairo_t* cr);
    // A bitmap of the layer drawn over its union frame (proposedRect, in the coordinates the layer's frame is
    // given in) at scale times backing scale; null for an empty frame. Gray holds the coverage (luminance times
    // alpha) in every channel.
    pt::ImageSurface newImageForLayer(pt::Layer* layer, ColorSpace colorSpace, QRectF* proposedRect);
    pt::ImageSurface newMaskedImageForLayer(pt::Layer* layer, QRectF* proposedRect);
    // (0, 0, |x - width|, |y - height|).
    static QRectF convertLayerFrame(const QRectF& frame);

    // Cairo's numbering matches the drawing constants these stand for: butt 0, round 1, square 2; miter 0,
    // round 1, bevel 2.
    static cairo_line_join_t lineJoinFromLayer(const pt::ShapeLayer& layer);
    static cairo_line_cap_t lineCapFromLayer(const pt::ShapeLayer& layer);
    // The smallest rectangle holding the frames of the layer and of every layer below it, each frame as its layer
    // reports it; zero for null. Frames of zero size count as points.
    static QRectF findFrameForLayer(const pt::Layer* layer);
    static QRectF recursivelyFindFrameForLayer(const pt::Layer& layer, const QRectF& rect);

private:
    // cairo keeps no alpha of its own: the drawing alpha is saved and restored with the context's state.
    void save(cairo_t* cr);
    void restore(cairo_t* cr);
    void strokeWithLayer(const pt::ShapeLayer& stroke, cairo_t* cr);
    void clipToMask(cairo_t* cr, const pt::ImageSurface& mask, const QRectF& frame) const;

    double scale_ = 0;
    double backingScale_ = 0;
    QRectF viewPort_;
    double alpha_ = 1;
    std::vector<double> savedAlphas_;
};
