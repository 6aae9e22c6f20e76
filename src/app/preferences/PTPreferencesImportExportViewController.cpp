#include "app/preferences/PTPreferencesImportExportViewController.h"

#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"

#include <vector>

const QString PTPreferencesImportExportViewController::ImportOptionsKey =
    QStringLiteral("PTAddControllerImportOptions");
const QString PTPreferencesImportExportViewController::ExportQualityKey = QStringLiteral("kPTExportQualityKey");
const QString PTPreferencesImportExportViewController::ExportProgressiveKey =
    QStringLiteral("kPTExportProgressiveKey");
const QString PTPreferencesImportExportViewController::ImportOptionsDidChangeNotification =
    QStringLiteral("PT_PREFERENCES_IMPORT_OPTIONS_DID_CHANGE");

namespace {

// Pushed sets, the last pushed at the end. Main thread only.
std::vector<qint64>& pushedOptions()
{
    static std::vector<qint64> stack;
    return stack;
}

} // namespace

qint64 PTPreferencesImportExportViewController::persistedImportOptions()
{
    return persistedImportOptions(true);
}

qint64 PTPreferencesImportExportViewController::persistedImportOptions(bool lookInStack)
{
    if (lookInStack && !pushedOptions().empty())
        return pushedOptions().back();
    const QVariant stored = pt::Defaults::standard().objectForKey(ImportOptionsKey);
    return stored.isValid() ? pt::Defaults::standard().integerForKey(ImportOptionsKey) : DefaultImportOptions;
}

void PTPreferencesImportExportViewController::pushPersistedImportOptions(qint64 options)
{
    pushedOptions().push_back(options);
    tellWorldAboutImportOptionsChanging();
}

std::optional<qint64> PTPreferencesImportExportViewController::popPersistedImportOptions()
{
    if (pushedOptions().empty())
        return std::nullopt;
    const qint64 options = pushedOptions().back();
    pushedOptions().pop_back();
    tellWorldAboutImportOptionsChanging();
    return options;
}

void PTPreferencesImportExportViewController::tellWorldAboutImportOptionsChanging()
{
    pt::NotificationCenter::defaultCenter().post(ImportOptionsDidChangeNotification);
}
