#pragma once

#include "ui/colour/PTColourPickerClippedView.h"

class QColor;

// The hue strip: red at both ends, yellow a sixth along from the start. Horizontal strips start at the left,
// vertical ones at the bottom.
class PTHuePickerView : public PTColourPickerClippedView {
    Q_OBJECT
public:
    using PTColourPickerClippedView::PTColourPickerClippedView;

    double hue() const { return m_hue; }
    void setHue(double hue);
    bool verticalMode() const { return m_verticalMode; }
    void setVerticalMode(bool vertical);
    // Keeps only the colour's hue (0 for an invalid colour).
    void setColor(const QColor& color);

    // The hue a press at the point sets in a strip of the size, clamped to 0..1.
    static double hueAt(QPointF point, QSizeF size, bool vertical);
    // Where the knob of the hue stands.
    static QPointF knobCentre(double hue, QSizeF size, bool vertical);

protected:
    void setValueFromPoint(QPointF point) override;
    void drawPicture(QImage& image) override;
    QPointF knobPosition() const override;
    bool pictureIsOpaque() const override { return true; }

private:

    double m_hue = 0;
    bool m_verticalMode = false;
};
