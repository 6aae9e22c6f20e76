#include "platform/graphics/CairoColor.h"

#include <cairo.h>

namespace pt {

void CairoColor::setAsSource(cairo_t* cr) const
{
    cairo_set_source_rgba(cr, red, green, blue, alpha);
}

} // namespace pt
