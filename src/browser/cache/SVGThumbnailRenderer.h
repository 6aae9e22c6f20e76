#pragma once

#include <QImage>

class PTSVG;
struct PTImageCacheJob;

// The job's SVG file fitted into its pixels: with a colour, a document that draws exactly one colour is drawn in
// it instead; otherwise the replacement colours apply. Null when the file does not parse or draw.
QImage renderSVGThumbnail(const PTImageCacheJob& job);
// The document fitted into that many pixels, marked with the scale; null when it does not draw.
QImage drawSVGThumbnail(PTSVG& svg, QSize pixelSize, qreal scale);
