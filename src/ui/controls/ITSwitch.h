#pragma once

#include <QCheckBox>
#include <QColor>
#include <QRectF>

class QVariantAnimation;

// An on/off switch: a rounded track that fills with the tint when on and a white knob that slides across with a
// short overshoot, widens while pressed and can be dragged. A click, a drag, space, the arrows or the
// accessibility press change it and emit userToggled(); setChecked() does not. A disabled switch ignores all of
// these. Assistive tools see a check box; bind `checked` with pt::Defaults::bindBool.
class ITSwitch : public QCheckBox {
    Q_OBJECT
public:
    explicit ITSwitch(QWidget* parent = nullptr);

    // Green unless set.
    QColor tintColor() const;
    void setTintColor(const QColor& color);
    // No colour unless set: the off track then has no border.
    QColor strokeColor() const { return strokeColor_; }
    void setStrokeColor(const QColor& color);

    bool isActive() const { return active_; }
    bool hasDragged() const { return dragged_; }
    // Where the knob rests in the current state (the drawn knob may still be moving there).
    QRectF rectForKnob() const;
    static qreal knobHeightForSize(const QSizeF& size) { return size.height() - 2; }

    QSize sizeHint() const override;

signals:
    void userToggled(bool checked);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool looksOn() const { return dragged_ ? draggingTowardsOn_ : isChecked(); }
    void setCheckedByUser(bool checked);
    // Moves the knob to where the state puts it, animated.
    void reloadLayer();

    QColor tintColor_;
    QColor strokeColor_;
    bool active_ = false;
    bool dragged_ = false;
    bool draggingTowardsOn_ = false;
    QRectF knob_;
    QVariantAnimation* animation_;
};
