#pragma once

#include <QPointF>
#include <QRectF>

// Rounding of geometry for drawing on whole points.

// Halves round up: 2.5 gives 3, 2.4999 gives 2; below zero halves round away from zero (-2.5 gives -3).
// NaN and infinities give 0.
qint64 PTRoundFloat(float value);
// PTRoundFloat of origin and size, each narrowed to single precision first.
QRectF PTRoundRectHalfUp(const QRectF& rect);
// Each of x, y, width and height rounded to the nearest whole number, halves away from zero.
QRectF PTRoundRect(const QRectF& rect);
// Both coordinates rounded to the nearest whole number, halves away from zero.
QPointF PTRoundPoint(const QPointF& point);
// a − b, coordinate by coordinate.
QPointF PTPointDifference(const QPointF& a, const QPointF& b);
