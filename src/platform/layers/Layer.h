#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QTransform>

#include <memory>
#include <optional>
#include <vector>

typedef struct _cairo cairo_t;

namespace pt {

// A tree of drawable layers rendered with cairo. It draws documents (SVG, fonts), never widgets. The contract:
//
// Geometry
// - bounds is the layer's own coordinate space: bounds.topLeft() is the point drawn at the top-left corner.
// - anchorPoint is a fraction of bounds ((0.5, 0.5) by default: the centre). The anchor's point of the layer sits
//   at position in the superlayer's coordinates.
// - transform (affine) turns the layer about its anchor point: a layer point p lands in the superlayer at
//   position + transform(p - anchor), anchor = bounds.topLeft() + anchorPoint * bounds.size().
// - frame() is the bounding box of bounds in the superlayer's coordinates; setFrame() sets bounds.size and position
//   (for an identity transform).
// - sublayerTransform applies to every sublayer, about this layer's anchor point; not to the layer's own content
//   nor to its mask.
// - Coordinates are y-down, as in Qt and cairo.
//
// Drawing (renderInContext, in the layer's own coordinates; sublayers are placed by their geometry)
// - A hidden layer draws nothing, its sublayers and mask included; so does a layer whose geometry flattens it
//   (a transform that cannot be inverted).
// - Order: contents image stretched to bounds, then drawInContext(), then sublayers in order.
// - masksToBounds clips the content and the sublayers to bounds.
// - opacity < 1 composites the layer and its whole subtree as one isolated group: overlapping children do not
//   show through each other. A layer that is one coat of paint (renderFaded()) draws faded without the group,
//   which looks the same; otherwise the group covers only the layer's drawn bounds when every layer of the
//   subtree can tell where it draws (drawingBounds()).
// - mask: the mask layer is drawn in this layer's coordinates (placed by its own geometry) through its
//   renderAsMask(), and only the alpha drawn counts: the layer and its subtree show where the mask is opaque.
//   renderAsMask() is renderInContext() unless a layer class gives a coverage of its own (such as luminance).
//
// Ownership: a layer owns its sublayers and its mask; superlayer() is a plain back pointer.
class Layer : public std::enable_shared_from_this<Layer> {
public:
    Layer() = default;
    virtual ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    QRectF bounds() const { return bounds_; }
    void setBounds(const QRectF& bounds) { bounds_ = bounds; }
    QPointF position() const { return position_; }
    void setPosition(const QPointF& position) { position_ = position; }
    QPointF anchorPoint() const { return anchorPoint_; }
    void setAnchorPoint(const QPointF& anchorPoint) { anchorPoint_ = anchorPoint; }
    QTransform transform() const { return transform_; }
    void setTransform(const QTransform& transform) { transform_ = transform; }
    QTransform sublayerTransform() const { return sublayerTransform_; }
    void setSublayerTransform(const QTransform& transform) { sublayerTransform_ = transform; }
    QRectF frame() const;
    void setFrame(const QRectF& frame);
    // The matrix from this layer's coordinates to its superlayer's (sublayerTransform of the superlayer excluded).
    QTransform geometryTransform() const;

    double opacity() const { return opacity_; }
    void setOpacity(double opacity) { opacity_ = opacity; }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { masksToBounds_ = masks; }

    const std::shared_ptr<Layer>& mask() const { return mask_; }
    void setMask(std::shared_ptr<Layer> mask) { mask_ = std::move(mask); }

    // Shown stretched to bounds; premultiplied ARGB32 draws without conversion.
    const QImage& contents() const { return contents_; }
    void setContents(const QImage& image) { contents_ = image; }
    double contentsScale() const { return contentsScale_; }
    void setContentsScale(double scale) { contentsScale_ = scale; }
    double rasterizationScale() const { return rasterizationScale_; }
    void setRasterizationScale(double scale) { rasterizationScale_ = scale; }
    bool needsDisplay() const { return needsDisplay_; }
    virtual void setNeedsDisplay() { needsDisplay_ = true; }

    Layer* superlayer() const { return superlayer_; }
    const std::vector<std::shared_ptr<Layer>>& sublayers() const { return sublayers_; }
    // Takes the layer out of its old superlayer first.
    virtual void addSublayer(const std::shared_ptr<Layer>& layer);
    void removeFromSuperlayer();

    // Draws the layer and its subtree, as the contract above says.
    virtual void renderInContext(cairo_t* cr);
    // Draws the coverage this layer gives when it serves as a mask (only alpha counts); renderInContext() here.
    virtual void renderAsMask(cairo_t* cr);
    // The layer's own drawing, in its coordinates; nothing by default.
    virtual void drawInContext(cairo_t* cr);

protected:
    // What the layer itself shows before its sublayers: contents, then drawInContext().
    virtual void drawContents(cairo_t* cr);
    // The box, in the layer's coordinates, of all that drawContents() draws but the contents image; nullopt when
    // that is not known, as here, where drawInContext() may draw anywhere. A mask's coverage (renderAsMask()) is
    // taken to lie inside what it draws.
    virtual std::optional<QRectF> drawingBounds() const;
    // Draws the layer, without mask and placed by its superlayer, at alpha in one pass when that looks the same as
    // fading it as a group: it is a single coat of plain paint. Draws nothing and answers false otherwise, as here.
    virtual bool renderFaded(cairo_t* cr, double alpha);

private:
    void renderSubtree(cairo_t* cr);
    void renderGroup(cairo_t* cr);
    void renderMaskAlpha(cairo_t* cr);
    // From the sublayers' common superlayer space into this layer's coordinates (sublayerTransform about the
    // anchor).
    QTransform sublayerSpace() const;
    // The box, in the layer's coordinates, holding all the layer and its subtree show, narrowed by masksToBounds
    // and the mask; nullopt when a layer of the subtree cannot tell where it draws.
    std::optional<QRectF> drawnBounds() const;

    QRectF bounds_;
    QPointF position_;
    QPointF anchorPoint_{0.5, 0.5};
    QTransform transform_;
    QTransform sublayerTransform_;
    double opacity_ = 1.0;
    bool hidden_ = false;
    bool masksToBounds_ = false;
    std::shared_ptr<Layer> mask_;
    QImage contents_;
    double contentsScale_ = 1.0;
    double rasterizationScale_ = 1.0;
    bool needsDisplay_ = false;
    Layer* superlayer_ = nullptr;
    std::vector<std::shared_ptr<Layer>> sublayers_;
};

// The cairo form of an affine transform.
void applyTransform(cairo_t* cr, const QTransform& transform);
// Draws an image stretched over the rectangle. The image data is shared, not copied, when it is already
// premultiplied ARGB32.
void drawImage(cairo_t* cr, const QImage& image, const QRectF& rect);

} // namespace pt
