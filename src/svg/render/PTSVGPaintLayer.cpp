#include "svg/render/PTSVGPaintLayer.h"

#include "platform/layers/ShapeLayer.h"

#include <cairo.h>

std::optional<QRectF> PTSVGPaintLayer::drawingBounds() const
{
    if (!fillsShape_)
        return std::nullopt;
    const auto* shape = dynamic_cast<const pt::ShapeLayer*>(superlayer());
    return shape && shape->path() ? shape->path()->boundingBox() : QRectF();
}

void PTSVGPaintLayer::paintSource(cairo_t* cr, cairo_pattern_t* source) const
{
    const auto* shape = dynamic_cast<const pt::ShapeLayer*>(superlayer());
    if (fillsShape_ && (!shape || !shape->path()))
        return;
    cairo_save(cr);
    cairo_new_path(cr);
    if (fillsShape_)
        shape->path()->appendToContext(cr);
    cairo_translate(cr, -userOrigin_.x(), -userOrigin_.y());
    cairo_set_source(cr, source);
    if (fillsShape_) {
        cairo_set_fill_rule(cr, shape->fillRule() == pt::ShapeLayer::FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD
                                                                                       : CAIRO_FILL_RULE_WINDING);
        cairo_fill(cr);
    } else {
        cairo_paint(cr);
    }
    cairo_restore(cr);
}
