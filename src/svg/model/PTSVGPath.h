#pragma once

#include "svg/model/PTSVGBezierPath.h"
#include "svg/model/PTSVGNode.h"

// A node that draws one path: path elements, the basic shapes, and glyphs of SVG fonts.
class PTSVGPath : public PTSVGNode {
public:
    std::shared_ptr<PTSVGNode> clone() const override;

    const PTSVGBezierPath& path() const { return path_; }
    PTSVGBezierPath& mutablePath() { return path_; }
    void overwritePath(PTSVGBezierPath path) { path_ = std::move(path); }
    QPointF currentPoint() const { return path_.currentPoint(); }
    void close() { path_.close(); }
    // The control point of the last smooth quadratic segment, reflected by the next one.
    QPointF lastControlPoint() const { return lastControlPoint_; }
    void setLastControlPoint(QPointF point) { lastControlPoint_ = point; }

private:
    PTSVGBezierPath path_;
    QPointF lastControlPoint_;
};
