#include "platform/layers/ShapeLayer.h"

#include <cairo.h>

#include <algorithm>

namespace pt {

namespace {

void setSourceColor(cairo_t* cr, const QColor& color)
{
    const QColor rgb = color.toRgb();
    cairo_set_source_rgba(cr, rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF());
}

cairo_line_cap_t cairoCap(ShapeLayer::LineCap cap)
{
    switch (cap) {
    case ShapeLayer::LineCap::Round: return CAIRO_LINE_CAP_ROUND;
    case ShapeLayer::LineCap::Square: return CAIRO_LINE_CAP_SQUARE;
    case ShapeLayer::LineCap::Butt: break;
    }
    return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t cairoJoin(ShapeLayer::LineJoin join)
{
    switch (join) {
    case ShapeLayer::LineJoin::Round: return CAIRO_LINE_JOIN_ROUND;
    case ShapeLayer::LineJoin::Bevel: return CAIRO_LINE_JOIN_BEVEL;
    case ShapeLayer::LineJoin::Miter: break;
    }
    return CAIRO_LINE_JOIN_MITER;
}

} // namespace

void ShapeLayer::drawContents(cairo_t* cr)
{
    Layer::drawContents(cr);
    if (!path_)
        return;
    cairo_save(cr);
    cairo_new_path(cr);
    path_->appendToContext(cr);
    if (fillColor_.isValid() && fillColor_.alpha() > 0) {
        cairo_set_fill_rule(cr, fillRule_ == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        setSourceColor(cr, fillColor_);
        cairo_fill_preserve(cr);
    }
    if (strokeColor_.isValid() && strokeColor_.alpha() > 0 && lineWidth_ > 0) {
        setSourceColor(cr, strokeColor_);
        cairo_set_line_width(cr, lineWidth_);
        cairo_set_line_cap(cr, cairoCap(lineCap_));
        cairo_set_line_join(cr, cairoJoin(lineJoin_));
        cairo_set_miter_limit(cr, miterLimit_);
        // A pattern with a negative length, or of zeros only, is an error to cairo: such a line is drawn solid.
        const bool dashed = std::none_of(lineDashPattern_.begin(), lineDashPattern_.end(), [](double d) { return d < 0; })
            && std::any_of(lineDashPattern_.begin(), lineDashPattern_.end(), [](double d) { return d > 0; });
        if (dashed)
            cairo_set_dash(cr, lineDashPattern_.data(), int(lineDashPattern_.size()), lineDashPhase_);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

} // namespace pt
