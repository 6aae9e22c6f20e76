#pragma once

#include "ui/colour/PTColourPickerClippedView.h"

#include <QColor>

// The alpha strip over a faint checkerboard: transparent at the start, the colour opaque at the end. Horizontal
// strips run left to right, vertical ones are opaque at the bottom.
class PTAlphaPickerView : public PTColourPickerClippedView {
    Q_OBJECT
public:
    using PTColourPickerClippedView::PTColourPickerClippedView;

    double alpha() const { return m_alpha; }
    void setAlpha(double alpha);
    bool verticalMode() const { return m_verticalMode; }
    void setVerticalMode(bool vertical);
    // Takes the colour's hue, saturation, brightness and alpha; an invalid colour gives all four 0.
    void setColor(const QColor& color);

    // The alpha a press at the point sets in a strip of the size, clamped to 0..1.
    static double alphaAt(QPointF point, QSizeF size, bool vertical);
    static QPointF knobCentre(double alpha, QSizeF size, bool vertical);

protected:
    void setValueFromPoint(QPointF point) override;
    void drawPicture(QImage& image) override;
    QPointF knobPosition() const override;

private:

    double m_alpha = 0;
    bool m_verticalMode = false;
    QColor m_color = QColor::fromHsvF(0, 0, 0);
};
