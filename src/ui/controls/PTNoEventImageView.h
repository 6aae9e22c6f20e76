#pragma once

#include <QLabel>

// An image by which the window is dragged.
class PTNoEventImageView : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
