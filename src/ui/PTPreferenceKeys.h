#pragma once

#include <QString>

// The keys of the settings the preferences window shows and the rest of the program reads. The window is the
// shell's; the subsystems read the settings through these keys, never through the window.
namespace PTPreferenceKeys {

inline const QString HideWindowOnDrag = QStringLiteral("PTPreferencesHideWindowOnDrag");
inline const QString SVGPDFPasteboardData = QStringLiteral("PTPreferencesSVGPDFPasteboardData");
inline const QString ShowNotifications = QStringLiteral("PTPreferencesShowNotifications");
inline const QString ShowNotificationsAlways = QStringLiteral("PTPreferencesShowNotificationsAlways");
inline const QString LibraryVacuumOnLaunch = QStringLiteral("PTPreferencesLibraryVacuumOnLaunch");
inline const QString DraggingUseColor = QStringLiteral("PTPreferencesDraggingUseColor");
inline const QString DraggingUseInternalRenderer = QStringLiteral("PTPreferencesDraggingUseInternalRenderer");
// Not registered: unset means the drag uses the icon's own size.
inline const QString DraggingUseSize = QStringLiteral("PTPreferencesDraggingUseSize");
inline const QString ExportMaintainState = QStringLiteral("PTPreferencesExportMaintainState");
inline const QString ClearSearchOnSelectionChange = QStringLiteral("PTPreferencesClearSearchOnSelectionChange");
inline const QString ExportTagFile = QStringLiteral("PTPreferencesExportTagFile");
inline const QString ExportKeepOriginalNames = QStringLiteral("PTPreferencesExportKeepOriginalNames");
inline const QString ExportSVGRemoveWidthHeight = QStringLiteral("PTPreferencesExportSVGRemoveWidthHeight");
inline const QString DarkModeAutoColorIcons = QStringLiteral("PTPreferencesDarkModeAutoColorIcons");
// The stored bit set of import options; PTPersistedImportOptions reads it.
inline const QString ImportOptions = QStringLiteral("PTAddControllerImportOptions");
// 0 to 1.
inline const QString ExportQuality = QStringLiteral("kPTExportQualityKey");
inline const QString ExportProgressive = QStringLiteral("kPTExportProgressiveKey");

// Registers the defaults of these keys, the export quality (1.0) and progressive output (off) among them.
void registerDefaults();

} // namespace PTPreferenceKeys

// Whether icons are recoloured for the dark appearance in thumbnails and previews.
bool PTDarkModeAutoColorIconsEnabled();
