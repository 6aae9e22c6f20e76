#include "app/preferences/PTPreferencesDraggingViewController.h"

#include "app/preferences/PTPreferencesController.h"

PTPreferencesDraggingViewController::PTPreferencesDraggingViewController(QWidget* parent)
    : PTPreferencesPane(Identifier, parent)
{
    using Keys = PTPreferencesController;
    addSwitchRow(tr("Use Icon Colour"), tr("Dragged and copied icons take the toolbar's icon colour."),
                 Keys::DraggingUseColorKey);
    addSwitchRow(tr("Use Internal Renderer"), tr("Draw dragged SVG icons with Pictern's own renderer."),
                 Keys::DraggingUseInternalRendererKey);
    addSwitchRow(tr("Use Thumbnail Size"), tr("Dragged and copied icons take the grid's thumbnail size."),
                 Keys::DraggingUseSizeKey);
    addSwitchRow(tr("Hide Window While Dragging"), tr("Get the window out of the way once a drag is under way."),
                 Keys::HideWindowOnDragKey);
    finishRows();
}
