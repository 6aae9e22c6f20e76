#include "svg/render/PTSVGGroupLayer.h"

#include <cairo.h>

namespace {

void renderPart(cairo_t* cr, pt::Layer& part)
{
    cairo_save(cr);
    pt::applyTransform(cr, part.geometryTransform());
    part.renderAsMask(cr);
    cairo_restore(cr);
}

} // namespace

void PTSVGConvertToLuminance(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data)
        return;
    const int width = cairo_image_surface_get_width(surface), height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = row[x];
            if (pixel == 0)
                continue;
            const uint32_t r = (pixel >> 16) & 0xff, g = (pixel >> 8) & 0xff, b = pixel & 0xff;
            // Rec. 709 weights scaled by 2^16.
            const uint32_t luminance = (13933 * r + 46884 * g + 4719 * b + 32768) >> 16;
            row[x] = luminance << 24 | luminance << 16 | luminance << 8 | luminance;
        }
    }
    cairo_surface_mark_dirty(surface);
}

void PTSVGGroupLayer::renderAsMask(cairo_t* cr)
{
    if (isHidden())
        return;
    switch (maskRole_) {
    case MaskRole::Container: renderContainerMask(cr); break;
    case MaskRole::Luminance: renderLuminanceMask(cr); break;
    case MaskRole::None: renderInContext(cr); break;
    }
}

void PTSVGGroupLayer::renderContainerMask(cairo_t* cr)
{
    const auto& parts = sublayers();
    if (parts.empty())
        return;
    cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
    renderPart(cr, *parts.front());
    cairo_pattern_t* coverage = cairo_pop_group(cr);
    for (size_t i = 1; i < parts.size(); ++i) {
        cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
        renderPart(cr, *parts[i]);
        cairo_pattern_t* part = cairo_pop_group(cr);
        cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
        cairo_set_source(cr, coverage);
        cairo_mask(cr, part);
        cairo_pattern_destroy(part);
        cairo_pattern_destroy(coverage);
        coverage = cairo_pop_group(cr);
    }
    cairo_set_source(cr, coverage);
    cairo_paint(cr);
    cairo_pattern_destroy(coverage);
}

void PTSVGGroupLayer::renderLuminanceMask(cairo_t* cr)
{
    cairo_push_group_with_content(cr, CAIRO_CONTENT_COLOR_ALPHA);
    renderInContext(cr);
    cairo_pattern_t* content = cairo_pop_group(cr);
    cairo_surface_t* surface = nullptr;
    // Vector output has no pixels to weigh; its masks are drawn as clips (convertMasksToPaths) anyway.
    if (cairo_pattern_get_surface(content, &surface) == CAIRO_STATUS_SUCCESS
        && cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE)
        PTSVGConvertToLuminance(surface);
    cairo_set_source(cr, content);
    cairo_paint(cr);
    cairo_pattern_destroy(content);
}
