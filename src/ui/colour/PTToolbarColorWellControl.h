#pragma once

#include "ui/colour/PTColourWellControl.h"

// The toolbar's colour well: a round swatch, a rainbow while no colour is set.
class PTToolbarColorWellControl : public PTColourWellControl {
    Q_OBJECT
public:
    explicit PTToolbarColorWellControl(QWidget* parent = nullptr);

protected:
    std::unique_ptr<PTToolbarSegmentedControlCell> makeCell() const override;
};
