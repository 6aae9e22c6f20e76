// The main of the widget benchmarks: an offscreen QApplication in the Fusion style with the interface kit
// registered, the manual appearance preference, and settings of its own so that a run never touches the user's.
#include "platform/runtime/Defaults.h"
#include "ui/PTInterfaceKit.h"
#include "ui/theme/PTThemeController.h"

#include <QApplication>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>

#include "BenchRun.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QTemporaryDir settingsDir;
    pt::Defaults::useStorageFile(settingsDir.filePath(QStringLiteral("Pictern.ini")));
    PTInterfaceKit::registerAll();
    pt::Defaults::standard().set(PTThemeController::AppearancePreferenceKey, int(PTAppearancePreferenceManual));
    return runBenchmarks(argc, argv);
}
