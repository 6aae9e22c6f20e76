#pragma once

#include <QImage>

struct PTImageCacheJob;

// The job's bitmap file (WebP, or any format the image readers know) shrunk to fit its pixels when it is larger
// and the job allows it; never enlarged. Of a file with several pictures (ICO, ICNS) the smallest not below the
// target is taken, else the largest, by the sizes the pictures' own headers tell. Null when the file does not
// decode or claims an oversized picture.
QImage renderBitmapThumbnail(const PTImageCacheJob& job);
