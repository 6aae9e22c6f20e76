#include "PreferencesTestDefaults.h"

#include "AppTestLibrary.h"

#include "app/PTAppDefaults.h"
#include "library/PTLibraryController.h"
#include "platform/runtime/Defaults.h"
#include "ui/PTInterfaceKit.h"

void usePreferencesTestDefaults(const QTemporaryDir& dir)
{
    pt::Defaults::useStorageFile(dir.filePath(QStringLiteral("settings.ini")));
    PTLibraryController::registerDefaults();
    PTInterfaceKit::registerAll();
    PTAppDefaults::registerAll();
    pt::Defaults::standard().set(PTLibraryController::PathKey, AppTestLibrary::shared().path());
}
