#pragma once

#include "svg/render/PTSVGLayer.h"

typedef struct _cairo_pattern cairo_pattern_t;

// The base of gradient and pattern paint. A paint layer shares the coordinates of the path layer above it,
// whose origin sits at userOrigin in the painted node's user space. As a fill it fills that layer's path; as a
// stroke it paints everywhere and its mask (the stroke) cuts it out.
class PTSVGPaintLayer : public PTSVGLayer {
public:
    PTSVGPaintLayer() { setRequiresBackingScaleHelp(true); }

    // The document's view box, which userSpaceOnUse percentages refer to.
    QRectF viewBox() const { return viewBox_; }
    void setViewBox(const QRectF& viewBox) { viewBox_ = viewBox; }
    // The painted shape's box in its user space.
    QRectF objectRect() const { return objectRect_; }
    void setObjectRect(const QRectF& rect) { objectRect_ = rect; }
    QPointF userOrigin() const { return userOrigin_; }
    void setUserOrigin(QPointF origin) { userOrigin_ = origin; }
    bool fillsShape() const { return fillsShape_; }
    void setFillsShape(bool fills) { fillsShape_ = fills; }

protected:
    // A fill covers its shape's path; a stroke's paint covers everything, and its mask (the stroke) bounds it.
    std::optional<QRectF> drawingBounds() const override;
    // Paints a source given in the painted node's user space over the area described above.
    void paintSource(cairo_t* cr, cairo_pattern_t* source) const;

private:
    QRectF viewBox_;
    QRectF objectRect_;
    QPointF userOrigin_;
    bool fillsShape_ = true;
};
