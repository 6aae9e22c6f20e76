#pragma once

#include <QWidget>

class QPainter;

// Base of the picker's square and strips: draws the subclass inside a rounded clip, then a faint inner border
// that only darkens what lies under it.
class PTColourPickerClippedView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // The 12-point white ring with a soft shadow that marks a view's value, centred on the point.
    static void drawKnob(QPainter& painter, QPointF centre);

signals:
    // Sent on every press and drag that sets the value; setters stay silent.
    void valueChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Sets the value from a press or drag at the point; there is no separate release: the last drag decides.
    virtual void setValueFromPoint(QPointF point) = 0;
    virtual void drawRectInClippedPath(QPainter& painter, const QRectF& rect) = 0;
};
