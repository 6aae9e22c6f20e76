#include "LibrsvgDraw.h"

#include "platform/graphics/ImageSurface.h"

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <librsvg/rsvg.h>

bool drawLibrsvgHandle(RsvgHandle* handle, int size)
{
    if (!handle)
        return false;
    GError* error = nullptr;
    pt::ImageSurface surface(QSize(size, size));
    cairo_t* cr = cairo_create(surface.surface());
    const RsvgRectangle viewport{0, 0, double(size), double(size)};
    const bool drawn = rsvg_handle_render_document(handle, cr, &viewport, &error);
    g_clear_error(&error);
    cairo_destroy(cr);
    g_object_unref(handle);
    benchmark::DoNotOptimize(surface.image().constBits());
    return drawn;
}
