#include "svg/model/PTSVGArc.h"

#include "svg/model/PTSVGBezierPath.h"
#include "svg/PTSVGUtils.h"

#include <cmath>

double PTSVGArc::degreesToRadians(double degrees)
{
    return degrees / 180 * 3.141592653589793;
}

float PTSVGArc::vectorLength(QPointF vector)
{
    return std::sqrt(float(vector.x() * vector.x() + vector.y() * vector.y()));
}

void PTSVGArc::append(PTSVGBezierPath& path, QPointF radii, double rotationDegrees, bool largeArc, bool sweep,
                      QPointF end)
{
    constexpr double Pi = 3.141592653589793;
    const QPointF start = path.currentPoint();
    double rx = std::abs(radii.x()), ry = std::abs(radii.y());
    if (rx == 0 || ry == 0) {
        path.lineTo(end);
        return;
    }
    const double phi = degreesToRadians(rotationDegrees);
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    const double x1p = (cosPhi * (start.x() - end.x()) + sinPhi * (start.y() - end.y())) / 2;
    const double y1p = (cosPhi * (start.y() - end.y()) - sinPhi * (start.x() - end.x())) / 2;
    const double lambda = x1p * x1p / (rx * rx) + y1p * y1p / (ry * ry);
    if (lambda > 1) {
        rx *= std::sqrt(lambda);
        ry *= std::sqrt(lambda);
    }
    const double sign = largeArc != sweep ? 1 : -1;
    double k = sign * std::sqrt((rx * rx * ry * ry - rx * rx * y1p * y1p - ry * ry * x1p * x1p)
                                / (rx * rx * y1p * y1p + ry * ry * x1p * x1p));
    if (std::isnan(k))
        k = 0;
    const double cxp = k * rx * y1p / ry;
    const double cyp = -k * ry * x1p / rx;
    const QPointF u((x1p - cxp) / rx, (y1p - cyp) / ry);
    const QPointF v((-x1p - cxp) / rx, (-y1p - cyp) / ry);
    const double theta1 = PTSVGUtils::angleBetweenPoints({1, 0}, u);
    const float lengths = vectorLength(u) * vectorLength(v);
    const double c = (u.x() * v.x() + u.y() * v.y()) / lengths;
    double delta;
    if (c <= -1)
        delta = Pi;
    else if (c >= 1)
        delta = 0;
    else
        delta = std::acos(c) * (u.y() * v.x() > u.x() * v.y() ? -1 : 1);
    if (std::isnan(theta1) || std::isnan(delta))
        return;
    const QPointF center(cosPhi * cxp - sinPhi * cyp + (start.x() + end.x()) / 2,
                         sinPhi * cxp + cosPhi * cyp + (start.y() + end.y()) / 2);
    const double radius = std::max(rx, ry);
    const QPointF scale = rx <= ry ? QPointF(rx / ry, 1) : QPointF(1, ry / rx);

    // Draw a circular arc in a space where the ellipse is a circle, then map only the new segments back: the
    // same geometry as transforming the whole path there and back, without touching earlier segments.
    PTSVGBezierPath arc;
    arc.appendArc({0, 0}, radius, theta1 * 57.29577951308232, (theta1 + delta) * 57.29577951308232, !sweep);
    arc.transform(QTransform::fromScale(scale.x(), scale.y())
                  * QTransform(cosPhi, sinPhi, -sinPhi, cosPhi, 0, 0)
                  * QTransform::fromTranslate(center.x(), center.y()));
    const auto& elements = arc.elements();
    for (size_t i = 1; i < elements.size(); ++i) {
        const auto& e = elements[i];
        // The last point is the exact end, so that relative commands after the arc do not drift.
        path.curveTo(e.points[1], e.points[2], i + 1 == elements.size() ? end : e.points[0]);
    }
}
