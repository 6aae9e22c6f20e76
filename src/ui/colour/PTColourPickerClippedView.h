#pragma once

#include <QImage>
#include <QWidget>

#include <vector>

class QPainter;

// Base of the picker's square and strips: the subclass's picture inside a rounded clip, then a faint inner border
// that only darkens what lies under it, and the knob. The clipped, bordered picture is kept until the subclass says
// it changed or the size or pixel ratio does, so dragging a knob only copies it.
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
    // Fills the whole image (premultiplied, with the view's pixel ratio set), unclipped.
    virtual void drawPicture(QImage& image) = 0;
    // Where the knob stands in the view's own coordinates.
    virtual QPointF knobPosition() const = 0;
    // Whether every pixel drawPicture makes is opaque; then all but the rounded corners' rows is copied, not blended.
    virtual bool pictureIsOpaque() const { return false; }
    // Drops the kept picture and repaints.
    void pictureChanged();

private:
    const QImage& clippedPicture(qreal ratio);
    void makeMasks(QSize pixels, qreal ratio);
    void drawKnobInside(QPainter& painter, QPointF centre);
    void drawPictureInto(QPainter& painter);

    QImage m_picture;
    // The same pixels read as opaque, for the rows between the corners of an opaque picture.
    QImage m_opaquePicture;
    bool m_pictureValid = false;
    // The border alone, black at its coverage, and how much of each pixel the rounded clip keeps.
    QImage m_border;
    QImage m_clip;
    // The pixels the clip or the border changes at all: a thin band along the edges.
    struct EdgePixel {
        int offset;
        uint keep;
        uint cover;
    };
    std::vector<EdgePixel> m_edge;
};
