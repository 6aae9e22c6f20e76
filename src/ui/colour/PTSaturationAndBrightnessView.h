#pragma once

#include "ui/colour/PTColourPickerClippedView.h"

#include <QImage>

class QColor;

// The saturation-brightness square of one hue: white at the top left, the pure hue at the top right, black along
// the bottom. Its picture is made anew only when the hue, size or pixel ratio changes.
class PTSaturationAndBrightnessView : public PTColourPickerClippedView {
    Q_OBJECT
public:
    using PTColourPickerClippedView::PTColourPickerClippedView;

    double hue() const { return m_hue; }
    double saturation() const { return m_saturation; }
    double brightness() const { return m_brightness; }
    void setHue(double hue);
    void setSaturation(double saturation);
    void setBrightness(double brightness);
    // Takes hue, saturation and brightness; an invalid colour gives all three 0.
    void setColor(const QColor& color);

    // The saturation (x) and brightness (y) a press at the point sets in a square of the size, each clamped.
    static QPointF valuesAt(QPointF point, QSizeF size);
    static QPointF knobCentre(double saturation, double brightness, QSizeF size);

protected:
    void setValueFromPoint(QPointF point) override;
    void drawPicture(QImage& image) override;
    QPointF knobPosition() const override;
    bool pictureIsOpaque() const override { return true; }

private:
    void takeHue(double hue);
    void makeOverlay(QSize pixels, qreal ratio);

    double m_hue = 0;
    double m_saturation = 1;
    double m_brightness = 1;
    QImage m_overlay;
};
