#include "ui/PTPersistedImportOptions.h"

#include "platform/runtime/Defaults.h"
#include "platform/runtime/NotificationCenter.h"
#include "ui/PTPreferenceKeys.h"

#include <vector>

const QString PTPersistedImportOptions::ImportOptionsDidChangeNotification =
    QStringLiteral("PT_PREFERENCES_IMPORT_OPTIONS_DID_CHANGE");

namespace {

// Pushed sets, the last pushed at the end. Main thread only.
std::vector<qint64>& pushedOptions()
{
    static std::vector<qint64> stack;
    return stack;
}

} // namespace

qint64 PTPersistedImportOptions::persistedImportOptions()
{
    return persistedImportOptions(true);
}

qint64 PTPersistedImportOptions::persistedImportOptions(bool lookInStack)
{
    if (lookInStack && !pushedOptions().empty())
        return pushedOptions().back();
    const pt::Defaults& defaults = pt::Defaults::standard();
    const QVariant stored = defaults.objectForKey(PTPreferenceKeys::ImportOptions);
    return stored.isValid() ? defaults.integerForKey(PTPreferenceKeys::ImportOptions) : DefaultImportOptions;
}

void PTPersistedImportOptions::pushPersistedImportOptions(qint64 options)
{
    pushedOptions().push_back(options);
    tellWorldAboutImportOptionsChanging();
}

std::optional<qint64> PTPersistedImportOptions::popPersistedImportOptions()
{
    if (pushedOptions().empty())
        return std::nullopt;
    const qint64 options = pushedOptions().back();
    pushedOptions().pop_back();
    tellWorldAboutImportOptionsChanging();
    return options;
}

void PTPersistedImportOptions::tellWorldAboutImportOptionsChanging()
{
    pt::NotificationCenter::defaultCenter().post(ImportOptionsDidChangeNotification);
}
