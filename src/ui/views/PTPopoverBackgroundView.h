#pragma once

#include <QWidget>

// The light background of a popover with a header band: a 36-pixel band of #F6F6F6 at the top with a line under
// it, over a white body.
class PTPopoverBackgroundView : public QWidget {
    Q_OBJECT
public:
    static constexpr int BandHeight = 36;

    explicit PTPopoverBackgroundView(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
