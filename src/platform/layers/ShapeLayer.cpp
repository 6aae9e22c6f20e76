#include "platform/layers/ShapeLayer.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace pt {

namespace {

void setSourceColor(cairo_t* cr, const QColor& color, double alpha)
{
    const QColor rgb = color.toRgb();
    cairo_set_source_rgba(cr, rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF() * alpha);
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
    drawPath(cr, 1.0);
}

std::optional<QRectF> ShapeLayer::drawingBounds() const
{
    if (!path_ || (!fills() && !strokes()))
        return QRectF();
    QRectF box = path_->boundingBox();
    if (strokes()) {
        // A miter reaches out up to miterLimit half widths from its corner, a square cap half a diagonal.
        const double joinReach = lineJoin_ == LineJoin::Miter ? std::max(miterLimit_, 1.0) : 1.0;
        const double capReach = lineCap_ == LineCap::Square ? M_SQRT2 : 1.0;
        const double reach = lineWidth_ / 2 * std::max(joinReach, capReach);
        box.adjust(-reach, -reach, reach, reach);
    }
    return box;
}

bool ShapeLayer::renderFaded(cairo_t* cr, double alpha)
{
    // A stroke over a fill, or anything over the shape, would show through once each is faded apart.
    if ((fills() && strokes()) || !contents().isNull() || !sublayers().empty() || masksToBounds())
        return false;
    drawPath(cr, alpha);
    return true;
}

bool ShapeLayer::drawsDashes() const
{
    return std::none_of(lineDashPattern_.begin(), lineDashPattern_.end(), [](double d) { return d < 0; })
        && std::any_of(lineDashPattern_.begin(), lineDashPattern_.end(), [](double d) { return d > 0; });
}

void ShapeLayer::drawPath(cairo_t* cr, double alpha) const
{
    if (!path_)
        return;
    cairo_save(cr);
    cairo_new_path(cr);
    path_->appendToContext(cr);
    if (fills()) {
        cairo_set_fill_rule(cr, fillRule_ == FillRule::EvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
        setSourceColor(cr, fillColor_, alpha);
        cairo_fill_preserve(cr);
    }
    if (strokes()) {
        setSourceColor(cr, strokeColor_, alpha);
        cairo_set_line_width(cr, lineWidth_);
        cairo_set_line_cap(cr, cairoCap(lineCap_));
        cairo_set_line_join(cr, cairoJoin(lineJoin_));
        cairo_set_miter_limit(cr, miterLimit_);
        if (drawsDashes())
            cairo_set_dash(cr, lineDashPattern_.data(), int(lineDashPattern_.size()), lineDashPhase_);
        cairo_stroke_preserve(cr);
    }
    cairo_new_path(cr);
    cairo_restore(cr);
}

} // namespace pt
