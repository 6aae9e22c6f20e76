#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QSizeF>

#include <optional>

// One rendering of a thumbnail: what a request asks for and, once stored, the image made for it. Two options
// answer each other when their size, enlargement, tint colour (by value) and replacement colours are equal; the
// image and the validity take no part. The scale is the pixels per point the image is made at.
struct PTImageCacheOptions {
    // Bitmaps fit into the size (they only shrink); off keeps a file image at its own size.
    bool allowEnlarge = true;
    // Set on a stored rendering: false when its image is the failure image.
    bool valid = false;
    // Colours of an SVG document drawn as other colours; absent and empty both replace nothing.
    std::optional<QHash<QRgb, QColor>> replacementColors;
    // Set only on the stored rendering.
    QImage image;
    // Tint for SVG documents that draw exactly one colour; invalid for none.
    QColor color;
    // In points.
    QSizeF size;
    qreal scale = 1;

    // The rendering's pixels: the size times the scale, each side rounded up to a whole pixel.
    QSize pixelSize() const;
    // A copy without the image, as a stored rendering begins.
    PTImageCacheOptions copy() const;

    friend bool operator==(const PTImageCacheOptions& a, const PTImageCacheOptions& b);
};
