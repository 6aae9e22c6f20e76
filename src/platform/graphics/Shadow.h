#pragma once

#include <QColor>
#include <QPointF>

namespace pt {

// A shadow as the interface describes one. The offset is in points with y growing upwards, whatever the
// painter's coordinate system: (0, -1) falls one point below the shape. The blur radius is in points too; the
// shadow's edge is a Gaussian whose standard deviation is half the radius. Neither follows the painter's world
// transform; both follow its device pixel ratio.
struct Shadow {
    QColor color = Qt::black;
    QPointF offset;
    qreal blurRadius = 0;
};

} // namespace pt
