// Benchmarks run with a QCoreApplication so that the main queue exists, and with settings and data folders of
// their own, so that a run never touches the user's library or settings.
#include "platform/runtime/Defaults.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "BenchRun.h"

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication app(argc, argv);
    QTemporaryDir settingsDir;
    pt::Defaults::useStorageFile(settingsDir.filePath(QStringLiteral("Pictern.ini")));
    return runBenchmarks(argc, argv);
}
