#include "svg/model/PTSVGBezierPath.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.141592653589793;

// Parameter values in (0, 1) where one coordinate of a cubic reaches an extreme.
void cubicExtremes(double p0, double p1, double p2, double p3, std::vector<double>& ts)
{
    const double a = -p0 + 3 * p1 - 3 * p2 + p3;
    const double b = 2 * (p0 - 2 * p1 + p2);
    const double c = p1 - p0;
    auto add = [&](double t) {
        if (t > 0 && t < 1)
            ts.push_back(t);
    };
    if (std::abs(a) < 1e-12) {
        if (std::abs(b) > 1e-12)
            add(-c / b);
        return;
    }
    const double disc = b * b - 4 * a * c;
    if (disc < 0)
        return;
    const double root = std::sqrt(disc);
    add((-b + root) / (2 * a));
    add((-b - root) / (2 * a));
}

QPointF cubicAt(QPointF p0, QPointF p1, QPointF p2, QPointF p3, double t)
{
    const double u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3;
}

// A quadratic segment as the cubic that draws the same curve.
std::array<QPointF, 2> cubicControls(QPointF start, QPointF control, QPointF end)
{
    return {start + 2.0 / 3.0 * (control - start), end + 2.0 / 3.0 * (control - end)};
}

struct BoundsAccumulator {
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    void add(QPointF p)
    {
        minX = std::min(minX, p.x());
        minY = std::min(minY, p.y());
        maxX = std::max(maxX, p.x());
        maxY = std::max(maxY, p.y());
    }
    QRectF rect() const { return minX > maxX ? QRectF() : QRectF(QPointF(minX, minY), QPointF(maxX, maxY)); }
};

} // namespace

void PTSVGBezierPath::CairoPathDeleter::operator()(cairo_path_t* path) const
{
    cairo_path_destroy(path);
}

void PTSVGBezierPath::append(ElementType type, QPointF p0, QPointF p1, QPointF p2)
{
    elements_.push_back({type, {p0, p1, p2}});
}

void PTSVGBezierPath::moveTo(QPointF point)
{
    append(ElementType::MoveTo, point);
    current_ = subpathStart_ = point;
}

void PTSVGBezierPath::lineTo(QPointF point)
{
    if (elements_.empty())
        moveTo(current_);
    append(ElementType::LineTo, point);
    current_ = point;
}

void PTSVGBezierPath::quadTo(QPointF control, QPointF end)
{
    if (elements_.empty())
        moveTo(current_);
    append(ElementType::QuadTo, end, control);
    current_ = end;
}

void PTSVGBezierPath::curveTo(QPointF control1, QPointF control2, QPointF end)
{
    if (elements_.empty())
        moveTo(current_);
    append(ElementType::CurveTo, end, control1, control2);
    current_ = end;
}

void PTSVGBezierPath::close()
{
    if (elements_.empty() || elements_.back().type == ElementType::Close)
        return;
    append(ElementType::Close, subpathStart_);
    current_ = subpathStart_;
}

void PTSVGBezierPath::appendArc(QPointF center, double radius, double startAngle, double endAngle, bool clockwise)
{
    double sweep = endAngle - startAngle;
    // Like the platform arc: counter-clockwise runs towards increasing angles, wrapping into one full turn.
    if (!clockwise) {
        while (sweep < 0)
            sweep += 360;
        sweep = std::min(sweep, 360.0);
    } else {
        while (sweep > 0)
            sweep -= 360;
        sweep = std::max(sweep, -360.0);
    }
    const double start = startAngle * Pi / 180.0;
    const double total = sweep * Pi / 180.0;
    const QPointF first = center + radius * QPointF(std::cos(start), std::sin(start));
    if (elements_.empty())
        moveTo(first);
    else if (first != current_)
        lineTo(first);
    const int segments = std::max(1, int(std::ceil(std::abs(total) / (Pi / 2) - 1e-9)));
    const double step = total / segments;
    const double k = 4.0 / 3.0 * std::tan(step / 4);
    double angle = start;
    for (int i = 0; i < segments; ++i) {
        const double next = angle + step;
        const QPointF p0 = center + radius * QPointF(std::cos(angle), std::sin(angle));
        const QPointF p3 = center + radius * QPointF(std::cos(next), std::sin(next));
        const QPointF c1 = p0 + k * radius * QPointF(-std::sin(angle), std::cos(angle));
        const QPointF c2 = p3 - k * radius * QPointF(-std::sin(next), std::cos(next));
        curveTo(c1, c2, p3);
        angle = next;
    }
}

void PTSVGBezierPath::appendRect(const QRectF& rect)
{
    moveTo(rect.topLeft());
    lineTo(rect.topRight());
    lineTo(rect.bottomRight());
    lineTo(rect.bottomLeft());
    close();
}

void PTSVGBezierPath::appendRoundedRect(const QRectF& rect, double rx, double ry)
{
    rx = std::clamp(rx, 0.0, rect.width() / 2);
    ry = std::clamp(ry, 0.0, rect.height() / 2);
    if (rx <= 0 || ry <= 0) {
        appendRect(rect);
        return;
    }
    // Quarter ellipses as cubics with the usual circle constant.
    const double kx = rx * 0.5522847498307936, ky = ry * 0.5522847498307936;
    const double l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    moveTo({l + rx, t});
    lineTo({r - rx, t});
    curveTo({r - rx + kx, t}, {r, t + ry - ky}, {r, t + ry});
    lineTo({r, b - ry});
    curveTo({r, b - ry + ky}, {r - rx + kx, b}, {r - rx, b});
    lineTo({l + rx, b});
    curveTo({l + rx - kx, b}, {l, b - ry + ky}, {l, b - ry});
    lineTo({l, t + ry});
    curveTo({l, t + ry - ky}, {l + rx - kx, t}, {l + rx, t});
    close();
}

void PTSVGBezierPath::appendOval(const QRectF& rect)
{
    // From the rightmost point through the bottom, as SVG lays out circles and ellipses, so dashes start there.
    constexpr double k = 0.5522847498307936;
    const QPointF c = rect.center();
    const double rx = rect.width() / 2, ry = rect.height() / 2;
    moveTo({c.x() + rx, c.y()});
    curveTo({c.x() + rx, c.y() + k * ry}, {c.x() + k * rx, c.y() + ry}, {c.x(), c.y() + ry});
    curveTo({c.x() - k * rx, c.y() + ry}, {c.x() - rx, c.y() + k * ry}, {c.x() - rx, c.y()});
    curveTo({c.x() - rx, c.y() - k * ry}, {c.x() - k * rx, c.y() - ry}, {c.x(), c.y() - ry});
    curveTo({c.x() + k * rx, c.y() - ry}, {c.x() + rx, c.y() - k * ry}, {c.x() + rx, c.y()});
    close();
}

QRectF PTSVGBezierPath::controlPointBounds() const
{
    BoundsAccumulator acc;
    for (const auto& e : elements_) {
        acc.add(e.points[0]);
        if (e.type == ElementType::QuadTo)
            acc.add(e.points[1]);
        else if (e.type == ElementType::CurveTo) {
            acc.add(e.points[1]);
            acc.add(e.points[2]);
        }
    }
    return acc.rect();
}

QRectF PTSVGBezierPath::bounds() const
{
    BoundsAccumulator acc;
    QPointF last;
    std::vector<double> ts;
    for (const auto& e : elements_) {
        if (e.type == ElementType::QuadTo || e.type == ElementType::CurveTo) {
            QPointF c1 = e.points[1], c2 = e.points[2];
            if (e.type == ElementType::QuadTo) {
                const auto controls = cubicControls(last, e.points[1], e.points[0]);
                c1 = controls[0];
                c2 = controls[1];
            }
            ts.clear();
            cubicExtremes(last.x(), c1.x(), c2.x(), e.points[0].x(), ts);
            cubicExtremes(last.y(), c1.y(), c2.y(), e.points[0].y(), ts);
            for (double t : ts)
                acc.add(cubicAt(last, c1, c2, e.points[0], t));
        }
        acc.add(e.points[0]);
        last = e.points[0];
    }
    return acc.rect();
}

void PTSVGBezierPath::transform(const QTransform& matrix)
{
    for (auto& e : elements_) {
        for (auto& p : e.points)
            p = matrix.map(p);
    }
    current_ = matrix.map(current_);
    subpathStart_ = matrix.map(subpathStart_);
}

void PTSVGBezierPath::appendToCairo(cairo_t* cr, bool autoClose) const
{
    QPointF last;
    bool open = false;
    for (const auto& e : elements_) {
        const QPointF& p = e.points[0];
        switch (e.type) {
        case ElementType::MoveTo:
            cairo_move_to(cr, p.x(), p.y());
            break;
        case ElementType::LineTo:
            cairo_line_to(cr, p.x(), p.y());
            open = true;
            break;
        case ElementType::QuadTo: {
            const auto c = cubicControls(last, e.points[1], p);
            cairo_curve_to(cr, c[0].x(), c[0].y(), c[1].x(), c[1].y(), p.x(), p.y());
            open = true;
            break;
        }
        case ElementType::CurveTo:
            cairo_curve_to(cr, e.points[1].x(), e.points[1].y(), e.points[2].x(), e.points[2].y(), p.x(), p.y());
            open = true;
            break;
        case ElementType::Close:
            cairo_close_path(cr);
            open = false;
            break;
        }
        last = p;
    }
    if (autoClose && open)
        cairo_close_path(cr);
}

PTSVGBezierPath::CairoPath PTSVGBezierPath::newCairoPath(bool autoClose) const
{
    if (elements_.empty())
        return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(surface);
    appendToCairo(cr, autoClose);
    CairoPath path(cairo_copy_path(cr));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return path;
}

bool operator==(const PTSVGBezierPath& a, const PTSVGBezierPath& b)
{
    if (a.elements_.size() != b.elements_.size())
        return false;
    for (size_t i = 0; i < a.elements_.size(); ++i) {
        if (a.elements_[i].type != b.elements_[i].type || a.elements_[i].points != b.elements_[i].points)
            return false;
    }
    return true;
}
