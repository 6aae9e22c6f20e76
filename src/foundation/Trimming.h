#pragma once

#include <QMargins>

class QImage;

// The transparent border around an image's content.
namespace trimming {

// The number of leading rows (top), trailing rows (bottom), leading columns (left) and trailing columns (right)
// of the image, at its size in points, without a pixel that counts: with fullOpaque a pixel counts when its alpha
// is 255, otherwise when it is not 0. All four are 0 for an image in which nothing counts, or an empty one.
QMargins trimmingInsetsWithFullOpaque(const QImage& image, bool fullOpaque);

} // namespace trimming
