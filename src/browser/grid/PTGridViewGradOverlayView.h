#pragma once

#include <QWidget>

// A white fade over its bounds, from nearly clear at the top (white at 0.1) to opaque white at the bottom.
class PTGridViewGradOverlayView : public QWidget {
    Q_OBJECT
public:
    explicit PTGridViewGradOverlayView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
