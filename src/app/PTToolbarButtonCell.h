#pragma once

#include <QColor>

class QImage;
class QPainter;
class QRectF;

// How a toolbar button draws: no bezel, only its glyph, centred on whole points and filled with one ink through the
// glyph's alpha.
class PTToolbarButtonCell {
public:
    // The selection blue while the button is held down; otherwise a dark grey, or the dark theme's white.
    static QColor inkColor(bool highlighted);
    static void drawInterior(QPainter& painter, const QRectF& cellFrame, const QImage& icon, bool highlighted);
};
