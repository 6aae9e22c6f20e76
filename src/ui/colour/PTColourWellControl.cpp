#include "ui/colour/PTColourWellControl.h"

#include "ui/colour/PTColourWellControlCell.h"

#include <QToolBar>

PTColourWellControl::PTColourWellControl(QWidget* parent)
    : PTColourPickerControl(parent)
{
    setDrawsImage(false);
    setDrawsLabels(false);
    setPopoverInset(8.0);
    // A well has no label to be named by.
    setAccessibleName(QStringLiteral("Colour"));
}

void PTColourWellControl::setColorInset(qreal inset)
{
    m_colorInset = inset;
    update();
}

bool PTColourWellControl::isInToolbar() const
{
    for (const QWidget* ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (qobject_cast<const QToolBar*>(ancestor))
            return true;
    }
    return false;
}

std::unique_ptr<PTToolbarSegmentedControlCell> PTColourWellControl::makeCell() const
{
    return std::make_unique<PTColourWellControlCell>();
}
