#pragma once

typedef struct _cairo cairo_t;

namespace pt {

// A device-RGB colour for drawing with cairo, components from 0 to 1, alpha not premultiplied.
struct CairoColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    void setAsSource(cairo_t* cr) const;

    friend bool operator==(const CairoColor&, const CairoColor&) = default;
};

} // namespace pt
