#include "ui/colour/PTToolbarColorWellControl.h"

#include "ui/colour/PTToolbarColourWellControlCell.h"

PTToolbarColorWellControl::PTToolbarColorWellControl(QWidget* parent)
    : PTColourWellControl(parent)
{
    setDrawsImage(true);
    setMinWidth(20.0);
    setLabelPadding(5.0);
    setSublabeledFromMenus(true);
    // A well has no label to be named by.
    setAccessibleName(QStringLiteral("Colour"));
}

std::unique_ptr<PTToolbarSegmentedControlCell> PTToolbarColorWellControl::makeCell() const
{
    return std::make_unique<PTToolbarColourWellControlCell>();
}
