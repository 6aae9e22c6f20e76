// The one main of every test executable: a QApplication on the offscreen platform, so widget tests run without a
// display, with the settings of a clean profile.
#include "platform/graphics/Jpeg2000ImagePlugin.h"
#include "platform/runtime/Defaults.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <clocale>

int main(int argc, char** argv)
{
    // A home and a temporary folder of its own per test process: the test-mode data, cache and config folders lie
    // under the home, and ctest runs many processes of one executable at once.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QDir().mkpath(home.filePath(QStringLiteral("tmp")));
    // Others may pass through, as through the system's: tests drop to another user to check read-only stores.
    const auto open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                      QFile::ReadOther | QFile::ExeOther;
    QFile::setPermissions(home.path(), open);
    QFile::setPermissions(home.filePath(QStringLiteral("tmp")), open);
    qputenv("TMPDIR", QFile::encodeName(home.filePath(QStringLiteral("tmp"))));
    // QStandardPaths has no test mode for the state folder (crash reports), so it goes inside the home by hand.
    qputenv("XDG_STATE_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/state"))));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
    QApplication::setEffectEnabled(Qt::UI_AnimateMenu, false);
    QApplication::setEffectEnabled(Qt::UI_AnimateTooltip, false);
    // Numbers are never parsed or printed through the C locale; this keeps stray uses honest.
    std::setlocale(LC_NUMERIC, "C");
    // The application installs it at start-up; the tests read ICNS files of JPEG 2000 elements too.
    pt::Jpeg2000ImagePlugin::registerPlugin();

    QTemporaryDir settingsDir;
    pt::Defaults::useStorageFile(settingsDir.filePath(QStringLiteral("Pictern.ini")));

    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // What tests left to deleteLater() goes now, while the application and its threads still stand.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
