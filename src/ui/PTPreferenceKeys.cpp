#include "ui/PTPreferenceKeys.h"

#include "platform/runtime/Defaults.h"

void PTPreferenceKeys::registerDefaults()
{
    pt::Defaults::standard().registerDefaults({
        {HideWindowOnDrag, true},
        {SVGPDFPasteboardData, false},
        {ShowNotifications, true},
        {ShowNotificationsAlways, true},
        {LibraryVacuumOnLaunch, true},
        {DraggingUseColor, false},
        {DraggingUseInternalRenderer, false},
        {ExportMaintainState, true},
        {ClearSearchOnSelectionChange, true},
        {ExportTagFile, false},
        {ExportKeepOriginalNames, true},
        {ExportSVGRemoveWidthHeight, true},
        {DarkModeAutoColorIcons, true},
        {ExportQuality, 1.0},
        {ExportProgressive, false},
    });
}

bool PTDarkModeAutoColorIconsEnabled()
{
    return pt::Defaults::standard().boolForKey(PTPreferenceKeys::DarkModeAutoColorIcons);
}
