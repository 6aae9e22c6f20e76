#pragma once

#include "platform/layers/Layer.h"
#include "platform/layers/LayerPath.h"

#include <QColor>

namespace pt {

// A layer that draws one path: filled with fillColor by fillRule, then stroked with strokeColor. The defaults
// follow the platform's shape layer: a black fill, no stroke, line width 1, butt caps, miter joins, miter limit
// 10, nonzero fill rule, no dashes. An invalid colour means "none". The shape draws below the sublayers. A shape
// layer draws nothing in drawInContext(); a subclass that does also overrides drawingBounds() and renderFaded().
class ShapeLayer : public Layer {
public:
    enum class FillRule { NonZero, EvenOdd };
    enum class LineCap { Butt, Round, Square };
    enum class LineJoin { Miter, Round, Bevel };

    const std::shared_ptr<const LayerPath>& path() const { return path_; }
    void setPath(std::shared_ptr<const LayerPath> path) { path_ = std::move(path); }
    QColor fillColor() const { return fillColor_; }
    void setFillColor(const QColor& color) { fillColor_ = color; }
    QColor strokeColor() const { return strokeColor_; }
    void setStrokeColor(const QColor& color) { strokeColor_ = color; }
    FillRule fillRule() const { return fillRule_; }
    void setFillRule(FillRule rule) { fillRule_ = rule; }
    double lineWidth() const { return lineWidth_; }
    void setLineWidth(double width) { lineWidth_ = width; }
    LineCap lineCap() const { return lineCap_; }
    void setLineCap(LineCap cap) { lineCap_ = cap; }
    LineJoin lineJoin() const { return lineJoin_; }
    void setLineJoin(LineJoin join) { lineJoin_ = join; }
    double miterLimit() const { return miterLimit_; }
    void setMiterLimit(double limit) { miterLimit_ = limit; }
    const std::vector<double>& lineDashPattern() const { return lineDashPattern_; }
    void setLineDashPattern(std::vector<double> pattern) { lineDashPattern_ = std::move(pattern); }
    double lineDashPhase() const { return lineDashPhase_; }
    void setLineDashPhase(double phase) { lineDashPhase_ = phase; }
    // Whether the dash pattern is one cairo can draw: no negative length and one above zero. Others (cairo
    // refuses them with an error that ends all drawing on the context) are drawn as a solid line.
    bool drawsDashes() const;

protected:
    void drawContents(cairo_t* cr) override;
    // The path's box, grown by the farthest a stroke reaches.
    std::optional<QRectF> drawingBounds() const override;
    // A fill alone or a stroke alone, with no image and no sublayers, fades in its colour.
    bool renderFaded(cairo_t* cr, double alpha) override;

private:
    bool fills() const { return fillColor_.isValid() && fillColor_.alpha() > 0; }
    bool strokes() const { return strokeColor_.isValid() && strokeColor_.alpha() > 0 && lineWidth_ > 0; }
    void drawPath(cairo_t* cr, double alpha) const;

    std::shared_ptr<const LayerPath> path_;
    QColor fillColor_ = Qt::black;
    QColor strokeColor_;
    FillRule fillRule_ = FillRule::NonZero;
    double lineWidth_ = 1.0;
    LineCap lineCap_ = LineCap::Butt;
    LineJoin lineJoin_ = LineJoin::Miter;
    double miterLimit_ = 10.0;
    std::vector<double> lineDashPattern_;
    double lineDashPhase_ = 0.0;
};

} // namespace pt
