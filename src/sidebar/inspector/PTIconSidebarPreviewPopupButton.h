#pragma once

#include "ui/controls/PTSheetViewPopupButton.h"

// The flat pop-up button of the icon preview (format, ICO size): a body with its own corner radii, white in the
// light appearance and the field colour in the dark one, the title at the label padding and an arrow centred in
// the arrow width at the right. Menu handling is the sheet pop-up button's.
class PTIconSidebarPreviewPopupButton : public PTSheetViewPopupButton {
    Q_OBJECT
public:
    explicit PTIconSidebarPreviewPopupButton(QWidget* parent = nullptr);

    qreal topLeftBorderRadius = 0;
    qreal topRightBorderRadius = 0;
    qreal bottomLeftBorderRadius = 0;
    qreal bottomRightBorderRadius = 0;
    qreal arrowWidth = 20;
    // Added to the height the body is drawn with.
    qreal heightOffset = 0;

    // Sets all four corner radii.
    void setCornerRadius(qreal radius);

protected:
    void paintEvent(QPaintEvent* event) override;
};
