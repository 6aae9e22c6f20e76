#include "browser/views/PTFrameViewSliderSmallButton.h"

PTFrameViewSliderSmallButton::PTFrameViewSliderSmallButton(QWidget* parent)
    : PTFrameViewSliderLargeButton(tr("Smaller icons"), parent)
{
}

QImage PTFrameViewSliderSmallButton::buttonImage() const
{
    return imageNamed(QStringLiteral("pic-small"));
}
