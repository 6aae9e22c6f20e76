#pragma once

#include "platform/layers/LayerPath.h"

#include <QPointF>
#include <QRectF>
#include <QTransform>

#include <array>
#include <memory>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct cairo_path cairo_path_t;

// The geometry of one SVG shape: moves, lines, quadratic and cubic curves and closes, kept exactly as built so
// that a close or a quadratic segment survives until drawing or writing. Shape layers draw it as it stands.
class PTSVGBezierPath : public pt::LayerPath {
public:
    enum class ElementType { MoveTo, LineTo, QuadTo, CurveTo, Close };
    // points[0] is the end point of every segment; QuadTo has its control in points[1], CurveTo its two
    // controls in points[1] and points[2].
    struct Element {
        ElementType type;
        std::array<QPointF, 3> points;
    };
    struct CairoPathDeleter {
        void operator()(cairo_path_t* path) const;
    };
    using CairoPath = std::unique_ptr<cairo_path_t, CairoPathDeleter>;

    void moveTo(QPointF point);
    void lineTo(QPointF point);
    void quadTo(QPointF control, QPointF end);
    void curveTo(QPointF control1, QPointF control2, QPointF end);
    // Closes the current subpath; the current point returns to the subpath's start. Nothing without a subpath.
    void close();
    // An arc of a circle from startAngle to endAngle in degrees (measured from the x axis towards y), as cubic
    // segments, joined to the current point by a line (or begun with a move on an empty path).
    void appendArc(QPointF center, double radius, double startAngle, double endAngle, bool clockwise);
    void appendRect(const QRectF& rect);
    void appendRoundedRect(const QRectF& rect, double rx, double ry);
    void appendOval(const QRectF& rect);

    bool isEmpty() const { return elements_.empty(); }
    const std::vector<Element>& elements() const { return elements_; }
    bool hasCurrentPoint() const { return !elements_.empty(); }
    QPointF currentPoint() const { return current_; }

    // The box of every point, control points included.
    QRectF controlPointBounds() const;
    // The tight box of the drawn outline (curve extremes, not their control points).
    QRectF bounds() const;
    void transform(const QTransform& matrix);

    // Replays the path into a cairo context (quadratic segments as their exact cubic). With autoClose, a last
    // subpath that draws and is left open is closed.
    void appendToCairo(cairo_t* cr, bool autoClose) const;
    // The path as a cairo path owned by the caller; null for an empty path.
    CairoPath newCairoPath(bool autoClose) const;

    // The layer path: the elements as they stand, no close added; the box of the drawn outline.
    void appendToContext(cairo_t* cr) const override { appendToCairo(cr, false); }
    QRectF boundingBox() const override { return bounds(); }

    friend bool operator==(const PTSVGBezierPath& a, const PTSVGBezierPath& b);

private:
    void append(ElementType type, QPointF p0, QPointF p1 = {}, QPointF p2 = {});

    std::vector<Element> elements_;
    QPointF current_;
    QPointF subpathStart_;
};
