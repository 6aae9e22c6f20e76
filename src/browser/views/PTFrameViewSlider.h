#pragma once

#include <QSlider>

class QPainterPath;

// The horizontal picture-size slider with its own dark bar and white knob; every release of the mouse on it
// posts "PTFrameViewSliderMouseUpNotification" with the slider as object, even when the knob did not move.
class PTFrameViewSlider : public QSlider {
    Q_OBJECT
public:
    static const QString MouseUpNotification;
    static constexpr qreal KnobSide = 21;

    explicit PTFrameViewSlider(QWidget* parent = nullptr);
    // The square the knob is drawn in, at the current value.
    QRectF knobRect() const;
    // The bar: one point taller than the track, reaching one point higher.
    QRectF barRect() const;
    QPainterPath barPath() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void drawBar(QPainter& painter) const;
    void drawKnob(QPainter& painter, const QRectF& knob) const;
};
