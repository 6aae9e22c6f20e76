#include "svg/render/PTSVGPatternLayer.h"

#include "svg/model/PTSVGPattern.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace {

double lengthIn(const PTSVGNode::Length& length, double reference, bool fraction)
{
    if (!length)
        return 0;
    // In objectBoundingBox units a plain number is a fraction of the box as well.
    return fraction ? length->value() * reference : length->computeValue(reference);
}

cairo_matrix_t cairoMatrix(const QTransform& t)
{
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
    return matrix;
}

} // namespace

QRectF PTSVGPatternLayer::tileRect() const
{
    if (!patternNode_)
        return {};
    const PTSVGPattern& node = *patternNode_;
    if (node.units() == 0) {
        return QRectF(lengthIn(node.x(), viewBox().width(), false), lengthIn(node.y(), viewBox().height(), false),
                      lengthIn(node.width(), viewBox().width(), false),
                      lengthIn(node.height(), viewBox().height(), false));
    }
    const QRectF box = objectRect();
    return QRectF(box.x() + lengthIn(node.x(), box.width(), true), box.y() + lengthIn(node.y(), box.height(), true),
                  lengthIn(node.width(), box.width(), true), lengthIn(node.height(), box.height(), true));
}

void PTSVGPatternLayer::drawInContext(cairo_t* cr)
{
    PTSVGLayer::drawInContext(cr);
    const QRectF tile = tileRect();
    if (!pattern_ || !(tile.width() > 0) || !(tile.height() > 0))
        return;
    const QTransform patternTransform = PTSVGConcatTransforms(patternNode_->transforms());
    // The tile's resolution follows the device: the current matrix times the pattern transform.
    cairo_matrix_t ctm;
    cairo_get_matrix(cr, &ctm);
    const QTransform device = patternTransform * QTransform(ctm.xx, ctm.yx, ctm.xy, ctm.yy, 0, 0);
    const double scaleX = std::hypot(device.m11(), device.m12()), scaleY = std::hypot(device.m21(), device.m22());
    const int pixelsX = std::clamp(int(std::ceil(tile.width() * scaleX)), 1, MaximumTilePixels);
    const int pixelsY = std::clamp(int(std::ceil(tile.height() * scaleY)), 1, MaximumTilePixels);
    const bool raster = cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE;
    cairo_surface_t* surface = nullptr;
    QTransform tileToUser = QTransform::fromTranslate(tile.x(), tile.y()) * patternTransform;
    if (raster) {
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pixelsX, pixelsY);
        tileToUser = QTransform::fromScale(tile.width() / pixelsX, tile.height() / pixelsY) * tileToUser;
    } else {
        const cairo_rectangle_t extents{0, 0, tile.width(), tile.height()};
        surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents);
    }
    cairo_t* tileContext = cairo_create(surface);
    if (raster)
        cairo_scale(tileContext, pixelsX / tile.width(), pixelsY / tile.height());
    // Content in objectBoundingBox units measures in fractions of the box.
    if (patternNode_->contentUnits() == 1)
        cairo_scale(tileContext, objectRect().width(), objectRect().height());
    pt::applyTransform(tileContext, pattern_->geometryTransform());
    pattern_->renderInContext(tileContext);
    cairo_destroy(tileContext);

    cairo_pattern_t* source = cairo_pattern_create_for_surface(surface);
    cairo_surface_destroy(surface);
    cairo_pattern_set_extend(source, CAIRO_EXTEND_REPEAT);
    bool invertible = false;
    const QTransform userToTile = tileToUser.inverted(&invertible);
    if (invertible) {
        const cairo_matrix_t matrix = cairoMatrix(userToTile);
        cairo_pattern_set_matrix(source, &matrix);
        paintSource(cr, source);
    }
    cairo_pattern_destroy(source);
}
