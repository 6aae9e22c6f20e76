#pragma once

#include "svg/model/PTSVGBezierPath.h"
#include "svg/model/PTSVGNode.h"

#include <QImage>

// An embedded raster image. Only data: URIs load; a file path or a network URL leaves the image null.
class PTSVGImage : public PTSVGNode {
public:
    std::shared_ptr<PTSVGNode> clone() const override;

    // Decodes a data: URI (base64 or percent-encoded, white space ignored). Anything else loads nothing.
    void loadFromBase64EncodedString(const QString& uri);
    const QImage& image() const { return image_; }
    void setImage(const QImage& image) { image_ = image; }
    // The rectangle (0, 0, width, height) the image fills, closed.
    PTSVGBezierPath path() const;
    // Draws the image upright, stretched over the bounds of the path (its own rectangle when null); nothing when
    // the width or height is 0 or not given.
    void drawInContext(cairo_t* cr, const PTSVGBezierPath* path = nullptr) const;

private:
    QImage image_;
};
