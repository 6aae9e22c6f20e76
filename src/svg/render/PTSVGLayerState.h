#pragma once

#include <QPointF>

#include <memory>

typedef struct _cairo cairo_t;

namespace pt {
class Layer;
}
class PTSVGGradientLayer;
class PTSVGPatternLayer;
class PTSVGStrokeLayer;

// What every SVG layer carries, path layers and the others alike: the mask held aside while masks are drawn as
// clip paths, the blend mode, the backing scale of rasterising layers, and plain references to the paint and
// stroke sublayers of a path. PTSVGLayer and PTSVGShapeLayer both derive from it, next to their layer class.
class PTSVGLayerState {
public:
    virtual ~PTSVGLayerState();

    // The layer this state belongs to.
    virtual pt::Layer& layer() = 0;

    // The mask taken off the layer while masks are converted to paths; null otherwise.
    const std::shared_ptr<pt::Layer>& maskingLayer() const { return maskingLayer_; }
    bool requiresBackingScaleHelp() const { return requiresBackingScaleHelp_; }
    void setRequiresBackingScaleHelp(bool help) { requiresBackingScaleHelp_ = help; }
    bool convertMasksToPaths() const { return convertMasksToPaths_; }
    // On: the mask moves to maskingLayer and is drawn as a clip to its shapes, so vector output stays vector.
    // Off: it goes back. Setting the current value does nothing.
    void setConvertMasksToPaths(bool convert);
    // A blend mode number of PTSVGUtils (0 normal).
    int blendingMode() const { return blendingMode_; }
    void setBlendingMode(int mode) { blendingMode_ = mode; }
    double backingScaleFactor() const { return backingScaleFactor_; }
    // Stores the scale as contents and rasterization scale and marks the layer for display; an unchanged value
    // does nothing.
    void setBackingScaleFactor(double scale);

    // Plain references to sublayers (or, for a stroke that masks a paint layer, to that mask); not owning.
    PTSVGGradientLayer* gradientFillLayer() const { return gradientFillLayer_; }
    void setGradientFillLayer(PTSVGGradientLayer* layer) { gradientFillLayer_ = layer; }
    PTSVGPatternLayer* patternFillLayer() const { return patternFillLayer_; }
    void setPatternFillLayer(PTSVGPatternLayer* layer) { patternFillLayer_ = layer; }
    PTSVGGradientLayer* gradientStrokeLayer() const { return gradientStrokeLayer_; }
    void setGradientStrokeLayer(PTSVGGradientLayer* layer) { gradientStrokeLayer_ = layer; }
    PTSVGPatternLayer* patternStrokeLayer() const { return patternStrokeLayer_; }
    void setPatternStrokeLayer(PTSVGPatternLayer* layer) { patternStrokeLayer_ = layer; }
    PTSVGStrokeLayer* strokeLayer() const { return strokeLayer_; }
    void setStrokeLayer(PTSVGStrokeLayer* layer) { strokeLayer_ = layer; }

    virtual QPointF absoluteOrigin() const { return absoluteOrigin_; }
    void setAbsoluteOrigin(QPointF origin) { absoluteOrigin_ = origin; }

    // Clips the context to the shapes of the converted mask (the union of each part's shapes, the parts of a
    // mask container intersected), in the layer's coordinates.
    void applySublayerMaskToContext(cairo_t* cr);

protected:
    // The drawing both layer classes share: the blend mode around the layer, and a converted mask as a clip.
    template <typename Render>
    void renderSVG(cairo_t* cr, Render&& base)
    {
        const bool blended = blendingMode_ != 0;
        if (blended)
            beginBlend(cr);
        if (convertMasksToPaths_ && maskingLayer_) {
            saveContext(cr);
            applySublayerMaskToContext(cr);
            base(cr);
            restoreContext(cr);
        } else {
            base(cr);
        }
        if (blended)
            endBlend(cr);
    }
    // Refuses anything but SVG layers.
    static void checkSublayer(const std::shared_ptr<pt::Layer>& layer);

private:
    void beginBlend(cairo_t* cr);
    void endBlend(cairo_t* cr);
    static void saveContext(cairo_t* cr);
    static void restoreContext(cairo_t* cr);

    std::shared_ptr<pt::Layer> maskingLayer_;
    bool requiresBackingScaleHelp_ = false;
    bool convertMasksToPaths_ = false;
    int blendingMode_ = 0;
    PTSVGGradientLayer* gradientFillLayer_ = nullptr;
    PTSVGPatternLayer* patternFillLayer_ = nullptr;
    PTSVGGradientLayer* gradientStrokeLayer_ = nullptr;
    PTSVGPatternLayer* patternStrokeLayer_ = nullptr;
    PTSVGStrokeLayer* strokeLayer_ = nullptr;
    double backingScaleFactor_ = 0;
    QPointF absoluteOrigin_;
};

// Whether the layer is an SVG layer (of either kind).
bool PTSVGIsLayer(const pt::Layer* layer);
