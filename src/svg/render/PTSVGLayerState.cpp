#include "svg/render/PTSVGLayerState.h"

#include "platform/layers/ShapeLayer.h"
#include "svg/render/PTSVGGroupLayer.h"
#include "svg/render/PTSVGInvalidSublayerException.h"
#include "svg/render/PTSVGShapeLayer.h"
#include "svg/render/PTSVGStrokeLayer.h"

#include <cairo.h>

#include <typeinfo>

namespace {

cairo_operator_t blendOperator(int mode)
{
    static const cairo_operator_t operators[] = {
        CAIRO_OPERATOR_OVER,        CAIRO_OPERATOR_MULTIPLY,       CAIRO_OPERATOR_SCREEN,
        CAIRO_OPERATOR_OVERLAY,     CAIRO_OPERATOR_DARKEN,         CAIRO_OPERATOR_LIGHTEN,
        CAIRO_OPERATOR_COLOR_DODGE, CAIRO_OPERATOR_COLOR_BURN,     CAIRO_OPERATOR_SOFT_LIGHT,
        CAIRO_OPERATOR_HARD_LIGHT,  CAIRO_OPERATOR_DIFFERENCE,     CAIRO_OPERATOR_EXCLUSION,
        CAIRO_OPERATOR_HSL_HUE,     CAIRO_OPERATOR_HSL_SATURATION, CAIRO_OPERATOR_HSL_COLOR,
        CAIRO_OPERATOR_HSL_LUMINOSITY,
    };
    return mode > 0 && mode < int(std::size(operators)) ? operators[mode] : CAIRO_OPERATOR_OVER;
}

// Adds the fill outlines of a layer's shapes (strokes left out) to the current path, placed by their geometry.
void appendShapes(cairo_t* cr, pt::Layer& layer)
{
    if (layer.isHidden() || dynamic_cast<PTSVGStrokeLayer*>(&layer))
        return;
    cairo_save(cr);
    pt::applyTransform(cr, layer.geometryTransform());
    if (auto* shape = dynamic_cast<pt::ShapeLayer*>(&layer); shape && shape->path())
        shape->path()->appendToContext(cr);
    for (const auto& sublayer : layer.sublayers())
        appendShapes(cr, *sublayer);
    // The path survives the restore: cairo keeps it in device space.
    cairo_restore(cr);
}

void clipToShapes(cairo_t* cr, pt::Layer& part)
{
    cairo_new_path(cr);
    appendShapes(cr, part);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_clip(cr);
}

} // namespace

PTSVGLayerState::~PTSVGLayerState() = default;

void PTSVGLayerState::setConvertMasksToPaths(bool convert)
{
    if (convert == convertMasksToPaths_)
        return;
    convertMasksToPaths_ = convert;
    if (convert) {
        maskingLayer_ = layer().mask();
        layer().setMask(nullptr);
    } else {
        layer().setMask(std::move(maskingLayer_));
        maskingLayer_.reset();
    }
}

void PTSVGLayerState::setBackingScaleFactor(double scale)
{
    if (scale == backingScaleFactor_)
        return;
    backingScaleFactor_ = scale;
    layer().setContentsScale(scale);
    layer().setRasterizationScale(scale);
    layer().setNeedsDisplay();
}

void PTSVGLayerState::applySublayerMaskToContext(cairo_t* cr)
{
    if (!maskingLayer_)
        return;
    // Clips outlive save/restore only by not using them: keep the matrix by hand.
    cairo_matrix_t outside;
    cairo_get_matrix(cr, &outside);
    auto* container = dynamic_cast<PTSVGGroupLayer*>(maskingLayer_.get());
    if (container && container->maskRole() == PTSVGGroupLayer::MaskRole::Container) {
        // Each part clips on its own, so a clip path and a mask intersect.
        pt::applyTransform(cr, container->geometryTransform());
        for (const auto& part : container->sublayers())
            clipToShapes(cr, *part);
    } else {
        clipToShapes(cr, *maskingLayer_);
    }
    cairo_set_matrix(cr, &outside);
}

void PTSVGLayerState::checkSublayer(const std::shared_ptr<pt::Layer>& layer)
{
    if (!PTSVGIsLayer(layer.get()))
        throw PTSVGInvalidSublayerException(layer ? typeid(*layer).name() : "(null)");
}

void PTSVGLayerState::beginBlend(cairo_t* cr)
{
    cairo_push_group(cr);
}

void PTSVGLayerState::endBlend(cairo_t* cr)
{
    cairo_pop_group_to_source(cr);
    cairo_save(cr);
    cairo_set_operator(cr, blendOperator(blendingMode_));
    cairo_paint(cr);
    cairo_restore(cr);
}

void PTSVGLayerState::saveContext(cairo_t* cr)
{
    cairo_save(cr);
}

void PTSVGLayerState::restoreContext(cairo_t* cr)
{
    cairo_restore(cr);
}

bool PTSVGIsLayer(const pt::Layer* layer)
{
    return dynamic_cast<const PTSVGLayerState*>(layer) != nullptr;
}
