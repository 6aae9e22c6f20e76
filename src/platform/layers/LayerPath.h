#pragma once

#include <QRectF>

typedef struct _cairo cairo_t;

namespace pt {

// A path a shape layer draws. The layer tree does not care how a path is stored; whoever builds the tree hands in
// its own path type (the SVG engine's keeps quadratic segments, which its writer needs back).
class LayerPath {
public:
    virtual ~LayerPath() = default;
    // Appends the path to the context's current path, in the layer's coordinates.
    virtual void appendToContext(cairo_t* cr) const = 0;
    // The smallest rectangle holding every point of the path, control points excluded.
    virtual QRectF boundingBox() const = 0;
};

} // namespace pt
