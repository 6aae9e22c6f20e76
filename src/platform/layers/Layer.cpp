#include "platform/layers/Layer.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace pt {

namespace {

QPointF anchorInBounds(const QRectF& bounds, const QPointF& anchorPoint)
{
    return {bounds.x() + anchorPoint.x() * bounds.width(), bounds.y() + anchorPoint.y() * bounds.height()};
}

} // namespace

void drawImage(cairo_t* cr, const QImage& source, const QRectF& rect)
{
    if (source.isNull() || rect.isEmpty())
        return;
    const QImage image = source.format() == QImage::Format_ARGB32_Premultiplied
        ? source
        : source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(const_cast<uchar*>(image.constBits()),
                                                                   CAIRO_FORMAT_ARGB32, image.width(),
                                                                   image.height(), int(image.bytesPerLine()));
    cairo_save(cr);
    cairo_rectangle(cr, rect.x(), rect.y(), rect.width(), rect.height());
    cairo_clip(cr);
    cairo_translate(cr, rect.x(), rect.y());
    cairo_scale(cr, rect.width() / image.width(), rect.height() / image.height());
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(surface);
}

namespace {

// The union of two boxes, leaving out one that covers no area.
QRectF united(const QRectF& a, const QRectF& b)
{
    if (b.isEmpty())
        return a;
    return a.isEmpty() ? b : a.united(b);
}

// Clips to the box rounded out to whole device pixels, and one pixel more: the clip's edge must never cut into
// the antialiased edge of what is drawn inside it. Answers whether anything is left to draw.
bool clipToDevicePixels(cairo_t* cr, const QRectF& box)
{
    if (box.isEmpty())
        return false;
    double left = INFINITY, top = INFINITY, right = -INFINITY, bottom = -INFINITY;
    for (const QPointF& corner : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        double x = corner.x(), y = corner.y();
        cairo_user_to_device(cr, &x, &y);
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    if (!std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) || !std::isfinite(bottom))
        return true;
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    cairo_identity_matrix(cr);
    // Staying inside the current clip keeps the numbers in the range cairo's fixed point holds.
    double clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    cairo_clip_extents(cr, &clipLeft, &clipTop, &clipRight, &clipBottom);
    left = std::max(std::floor(left) - 1, clipLeft);
    top = std::max(std::floor(top) - 1, clipTop);
    right = std::min(std::ceil(right) + 1, clipRight);
    bottom = std::min(std::ceil(bottom) + 1, clipBottom);
    const bool visible = right > left && bottom > top;
    if (visible) {
        cairo_rectangle(cr, left, top, right - left, bottom - top);
        cairo_clip(cr);
    }
    cairo_set_matrix(cr, &matrix);
    return visible;
}

} // namespace

void applyTransform(cairo_t* cr, const QTransform& t)
{
    if (t.isIdentity())
        return;
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy());
    cairo_transform(cr, &matrix);
}

Layer::~Layer()
{
    for (auto& sublayer : sublayers_)
        sublayer->superlayer_ = nullptr;
}

QTransform Layer::geometryTransform() const
{
    const QPointF anchor = anchorInBounds(bounds_, anchorPoint_);
    // Row-vector order: first move the anchor to the origin, then transform, then place at position.
    return QTransform::fromTranslate(-anchor.x(), -anchor.y()) * transform_
        * QTransform::fromTranslate(position_.x(), position_.y());
}

QRectF Layer::frame() const
{
    return geometryTransform().mapRect(bounds_);
}

void Layer::setFrame(const QRectF& frame)
{
    bounds_.setSize(frame.size());
    position_ = {frame.x() + anchorPoint_.x() * frame.width(), frame.y() + anchorPoint_.y() * frame.height()};
}

void Layer::addSublayer(const std::shared_ptr<Layer>& layer)
{
    if (!layer || layer.get() == this)
        return;
    layer->removeFromSuperlayer();
    layer->superlayer_ = this;
    sublayers_.push_back(layer);
}

void Layer::removeFromSuperlayer()
{
    if (!superlayer_)
        return;
    auto& siblings = superlayer_->sublayers_;
    const auto keep = shared_from_this();
    siblings.erase(std::remove(siblings.begin(), siblings.end(), keep), siblings.end());
    superlayer_ = nullptr;
}

void Layer::drawInContext(cairo_t*) {}

void Layer::renderAsMask(cairo_t* cr)
{
    renderInContext(cr);
}

void Layer::drawContents(cairo_t* cr)
{
    drawImage(cr, contents_, bounds_);
    drawInContext(cr);
}

std::optional<QRectF> Layer::drawingBounds() const
{
    return std::nullopt;
}

bool Layer::renderFaded(cairo_t*, double)
{
    return false;
}

void Layer::renderInContext(cairo_t* cr)
{
    if (hidden_ || opacity_ <= 0.0)
        return;
    if (!mask_ && opacity_ >= 1.0) {
        renderSubtree(cr);
        return;
    }
    if (!mask_ && renderFaded(cr, opacity_))
        return;
    // A group as large as the clip would cost its whole area twice over; only what the layer draws needs it.
    cairo_save(cr);
    const auto drawn = drawnBounds();
    if (!drawn || clipToDevicePixels(cr, *drawn))
        renderGroup(cr);
    cairo_restore(cr);
}

void Layer::renderGroup(cairo_t* cr)
{
    cairo_push_group(cr);
    renderSubtree(cr);
    cairo_pattern_t* content = cairo_pop_group(cr);
    cairo_save(cr);
    cairo_set_source(cr, content);
    if (mask_) {
        cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
        renderMaskAlpha(cr);
        cairo_pattern_t* alpha = cairo_pop_group(cr);
        if (opacity_ < 1.0) {
            // Fold the opacity into the mask: one compositing step for both.
            cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
            cairo_set_source(cr, alpha);
            cairo_paint_with_alpha(cr, opacity_);
            cairo_pattern_destroy(alpha);
            alpha = cairo_pop_group(cr);
            cairo_set_source(cr, content);
        }
        cairo_mask(cr, alpha);
        cairo_pattern_destroy(alpha);
    } else {
        cairo_paint_with_alpha(cr, opacity_);
    }
    cairo_restore(cr);
    cairo_pattern_destroy(content);
}

QTransform Layer::sublayerSpace() const
{
    if (sublayerTransform_.isIdentity())
        return {};
    const QPointF anchor = anchorInBounds(bounds_, anchorPoint_);
    return QTransform::fromTranslate(-anchor.x(), -anchor.y()) * sublayerTransform_
        * QTransform::fromTranslate(anchor.x(), anchor.y());
}

std::optional<QRectF> Layer::drawnBounds() const
{
    if (hidden_ || opacity_ <= 0.0)
        return QRectF();
    std::optional<QRectF> box = drawingBounds();
    if (box && !contents_.isNull())
        box = united(*box, bounds_);
    const QTransform space = sublayerSpace();
    for (const auto& sublayer : sublayers_) {
        if (!box)
            break;
        const QTransform geometry = sublayer->geometryTransform();
        if (!geometry.isInvertible())
            continue;
        if (const auto sublayerBox = sublayer->drawnBounds())
            box = united(*box, (geometry * space).mapRect(*sublayerBox));
        else
            box.reset();
    }
    // Whatever draws there, nothing shows outside the bounds that clip or outside the mask.
    if (masksToBounds_)
        box = box ? *box & bounds_ : bounds_;
    if (mask_) {
        if (const auto maskBox = mask_->drawnBounds()) {
            const QRectF covered = mask_->geometryTransform().mapRect(*maskBox);
            box = box ? *box & covered : covered;
        }
    }
    return box;
}

void Layer::renderSubtree(cairo_t* cr)
{
    cairo_save(cr);
    if (masksToBounds_) {
        cairo_rectangle(cr, bounds_.x(), bounds_.y(), bounds_.width(), bounds_.height());
        cairo_clip(cr);
    }
    drawContents(cr);
    if (!sublayers_.empty()) {
        applyTransform(cr, sublayerSpace());
        // A sublayer may change the list while drawing (it should not, but a copy keeps us safe).
        const auto sublayers = sublayers_;
        for (const auto& sublayer : sublayers) {
            // A flattened layer covers no area; its matrix would put cairo in an error state.
            const QTransform geometry = sublayer->geometryTransform();
            if (sublayer->isHidden() || !geometry.isInvertible())
                continue;
            cairo_save(cr);
            applyTransform(cr, geometry);
            sublayer->renderInContext(cr);
            cairo_restore(cr);
        }
    }
    cairo_restore(cr);
}

void Layer::renderMaskAlpha(cairo_t* cr)
{
    cairo_save(cr);
    applyTransform(cr, mask_->geometryTransform());
    mask_->renderAsMask(cr);
    cairo_restore(cr);
}

} // namespace pt
