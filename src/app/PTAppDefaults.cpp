#include "app/PTAppDefaults.h"

#include "app/PTNotificationCenter.h"
#include "platform/runtime/Defaults.h"

namespace PTAppDefaults {

void registerAll()
{
    pt::Defaults::standard().registerDefaults({
        {QStringLiteral("PTPreferencesHideWindowOnDrag"), true},
        {QStringLiteral("PTPreferencesSVGPDFPasteboardData"), false},
        {PTNotificationCenter::EnabledKey, true},
        {PTNotificationCenter::AlwaysShowKey, true},
        {QStringLiteral("PTPreferencesLibraryVacuumOnLaunch"), true},
        {QStringLiteral("PTPreferencesDraggingUseColor"), false},
        {QStringLiteral("PTPreferencesDraggingUseInternalRenderer"), false},
        {QStringLiteral("PTPreferencesExportMaintainState"), true},
        {QStringLiteral("PTPreferencesClearSearchOnSelectionChange"), true},
        {QStringLiteral("PTPreferencesExportTagFile"), false},
        {QStringLiteral("PTPreferencesExportKeepOriginalNames"), true},
        {QStringLiteral("PTPreferencesExportSVGRemoveWidthHeight"), true},
        {QStringLiteral("PTPreferencesDarkModeAutoColorIcons"), true},
    });
}

} // namespace PTAppDefaults
