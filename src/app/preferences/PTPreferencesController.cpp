#include "app/preferences/PTPreferencesController.h"

#include "app/preferences/PTPreferencesImportExportViewController.h"
#include "app/updates/Updater.h"

#include "platform/runtime/Defaults.h"

const QString PTPreferencesController::HideWindowOnDragKey = QStringLiteral("PTPreferencesHideWindowOnDrag");
const QString PTPreferencesController::SVGPDFPasteboardDataKey = QStringLiteral("PTPreferencesSVGPDFPasteboardData");
const QString PTPreferencesController::ShowNotificationsKey = QStringLiteral("PTPreferencesShowNotifications");
const QString PTPreferencesController::ShowNotificationsAlwaysKey =
    QStringLiteral("PTPreferencesShowNotificationsAlways");
const QString PTPreferencesController::LibraryVacuumOnLaunchKey =
    QStringLiteral("PTPreferencesLibraryVacuumOnLaunch");
const QString PTPreferencesController::DraggingUseColorKey = QStringLiteral("PTPreferencesDraggingUseColor");
const QString PTPreferencesController::DraggingUseInternalRendererKey =
    QStringLiteral("PTPreferencesDraggingUseInternalRenderer");
const QString PTPreferencesController::DraggingUseSizeKey = QStringLiteral("PTPreferencesDraggingUseSize");
const QString PTPreferencesController::ExportMaintainStateKey = QStringLiteral("PTPreferencesExportMaintainState");
const QString PTPreferencesController::ClearSearchOnSelectionChangeKey =
    QStringLiteral("PTPreferencesClearSearchOnSelectionChange");
const QString PTPreferencesController::ExportTagFileKey = QStringLiteral("PTPreferencesExportTagFile");
const QString PTPreferencesController::ExportKeepOriginalNamesKey =
    QStringLiteral("PTPreferencesExportKeepOriginalNames");
const QString PTPreferencesController::ExportSVGRemoveWidthHeightKey =
    QStringLiteral("PTPreferencesExportSVGRemoveWidthHeight");
const QString PTPreferencesController::DarkModeAutoColorIconsKey =
    QStringLiteral("PTPreferencesDarkModeAutoColorIcons");

void PTPreferencesController::registerDefaults()
{
    pt::Defaults::standard().registerDefaults({
        {HideWindowOnDragKey, true},
        {SVGPDFPasteboardDataKey, false},
        {ShowNotificationsKey, true},
        {ShowNotificationsAlwaysKey, true},
        {LibraryVacuumOnLaunchKey, true},
        {DraggingUseColorKey, false},
        {DraggingUseInternalRendererKey, false},
        {ExportMaintainStateKey, true},
        {ClearSearchOnSelectionChangeKey, true},
        {ExportTagFileKey, false},
        {ExportKeepOriginalNamesKey, true},
        {ExportSVGRemoveWidthHeightKey, true},
        {DarkModeAutoColorIconsKey, true},
        {PTPreferencesImportExportViewController::ExportQualityKey, 1.0},
        {PTPreferencesImportExportViewController::ExportProgressiveKey, false},
    });
    pt::Updater::registerDefaults();
}

bool PTDarkModeAutoColorIconsEnabled()
{
    return pt::Defaults::standard().boolForKey(PTPreferencesController::DarkModeAutoColorIconsKey);
}
