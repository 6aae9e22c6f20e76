// The one main of every test executable: a QApplication on the offscreen platform, so widget tests run without a
// display, with the settings of a clean profile.
#include "platform/runtime/Defaults.h"

#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv)
{
    // A home of its own per test process: the test-mode data, cache and config folders lie under it, and ctest
    // runs many processes of one executable at once.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
    QApplication::setEffectEnabled(Qt::UI_AnimateMenu, false);
    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
    // Numbers are never parsed or printed through the C locale; this keeps stray uses honest.
    std::setlocale(LC_NUMERIC, "C");

    QTemporaryDir settingsDir;
    pt::Defaults::useStorageFile(settingsDir.filePath(QStringLiteral("Pictern.ini")));

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
