#include "svg/render/PTSVGGradientLayer.h"

#include "svg/model/PTSVGGradient.h"

#include <cairo.h>

void PTSVGGradientLayer::drawInContext(cairo_t* cr)
{
    PTSVGLayer::drawInContext(cr);
    if (!gradient_)
        return;
    cairo_pattern_t* pattern = gradient_->newPattern(objectRect(), viewBox(), 1.0);
    if (!pattern)
        return;
    paintSource(cr, pattern);
    cairo_pattern_destroy(pattern);
}
