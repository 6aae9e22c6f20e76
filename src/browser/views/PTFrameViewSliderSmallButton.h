#pragma once

#include "browser/views/PTFrameViewSliderLargeButton.h"

// The picture button at the small end of the size slider.
class PTFrameViewSliderSmallButton : public PTFrameViewSliderLargeButton {
    Q_OBJECT
public:
    explicit PTFrameViewSliderSmallButton(QWidget* parent = nullptr);
    QImage buttonImage() const override;
};
