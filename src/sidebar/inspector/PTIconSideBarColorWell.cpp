#include "sidebar/inspector/PTIconSideBarColorWell.h"

#include "sidebar/inspector/PTIconSideBarColorWellCell.h"

std::unique_ptr<PTToolbarSegmentedControlCell> PTIconSideBarColorWell::makeCell() const
{
    return std::make_unique<PTIconSideBarColorWellCell>();
}
