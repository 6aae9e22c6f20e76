#pragma once

#include <QString>

// Owner of the application's preference keys and of the preferences window.
class PTPreferencesController {
public:
    static const QString HideWindowOnDragKey;               // "PTPreferencesHideWindowOnDrag"
    static const QString SVGPDFPasteboardDataKey;           // "PTPreferencesSVGPDFPasteboardData"
    static const QString ShowNotificationsKey;              // "PTPreferencesShowNotifications"
    static const QString ShowNotificationsAlwaysKey;        // "PTPreferencesShowNotificationsAlways"
    static const QString LibraryVacuumOnLaunchKey;          // "PTPreferencesLibraryVacuumOnLaunch"
    static const QString DraggingUseColorKey;               // "PTPreferencesDraggingUseColor"
    static const QString DraggingUseInternalRendererKey;    // "PTPreferencesDraggingUseInternalRenderer"
    static const QString DraggingUseSizeKey;                // "PTPreferencesDraggingUseSize", not registered
    static const QString ExportMaintainStateKey;            // "PTPreferencesExportMaintainState"
    static const QString ClearSearchOnSelectionChangeKey;   // "PTPreferencesClearSearchOnSelectionChange"
    static const QString ExportTagFileKey;                  // "PTPreferencesExportTagFile"
    static const QString ExportKeepOriginalNamesKey;        // "PTPreferencesExportKeepOriginalNames"
    static const QString ExportSVGRemoveWidthHeightKey;     // "PTPreferencesExportSVGRemoveWidthHeight"
    static const QString DarkModeAutoColorIconsKey;         // "PTPreferencesDarkModeAutoColorIcons"

    // Registers the defaults of the preference keys, the export quality (1.0) and progressive output (off)
    // among them. Called once at start-up and by test mains.
    static void registerDefaults();
};

// Whether icons are recoloured for the dark appearance in thumbnails and previews.
bool PTDarkModeAutoColorIconsEnabled();
