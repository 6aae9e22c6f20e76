#include "app/preferences/PTPreferencesDraggingViewController.h"

#include "ui/PTPreferenceKeys.h"

PTPreferencesDraggingViewController::PTPreferencesDraggingViewController(QWidget* parent)
    : PTPreferencesPane(Identifier, parent)
{
    addSwitchRow(tr("Use Icon Colour"), tr("Dragged and copied icons take the toolbar's icon colour."),
                 PTPreferenceKeys::DraggingUseColor);
    addSwitchRow(tr("Use Internal Renderer"), tr("Draw dragged SVG icons with Pictern's own renderer."),
                 PTPreferenceKeys::DraggingUseInternalRenderer);
    addSwitchRow(tr("Use Thumbnail Size"), tr("Dragged and copied icons take the grid's thumbnail size."),
                 PTPreferenceKeys::DraggingUseSize);
    addSwitchRow(tr("Hide Window While Dragging"), tr("Get the window out of the way once a drag is under way."),
                 PTPreferenceKeys::HideWindowOnDrag);
    finishRows();
}
