#pragma once

#include <QImage>

// The frosted look behind section headers: what scrolls under a header, small, blurred and made more vivid.
namespace GridBackdrop {

// Each side of the content image is this fraction of the backdrop's device pixels: the blur hides the detail.
constexpr qreal Scale = 0.25;
// The blur's reach, in points, that the content image holds past each edge of the backdrop.
constexpr qreal Margin = 16;

// Three passes of a box blur of the radius (in pixels) across and down, edges repeated outwards, so the result
// stays as opaque as the content at its borders.
QImage boxBlurred(const QImage& image, int radius);

// Each pixel's colour moved away from (or towards) its own luminance (Rec. 709 weights) by the factor, kept
// within its alpha.
QImage saturated(const QImage& image, qreal factor);

} // namespace GridBackdrop
