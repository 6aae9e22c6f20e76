#pragma once

#include "ui/colour/PTColourWellControl.h"

// The colour well of the icon preview, drawn by its own cell.
class PTIconSideBarColorWell : public PTColourWellControl {
    Q_OBJECT
public:
    using PTColourWellControl::PTColourWellControl;

protected:
    std::unique_ptr<PTToolbarSegmentedControlCell> makeCell() const override;
};
