// Pictern's entry point. The application shell is not built yet: this starts the application object, reports
// the version and where the default library lives, and exits.
#include "library/PTLibraryController.h"

#include <QApplication>
#include <QTextStream>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictern"));
    QApplication::setApplicationVersion(QStringLiteral(PICTERN_VERSION));
    // Qt sets the C locale from the environment; numbers must never follow it.
    std::setlocale(LC_NUMERIC, "C");

    PTLibraryController::registerDefaults();
    const QString library = PTLibraryController::location();
    QTextStream out(stdout);
    out << "Pictern " << QApplication::applicationVersion() << "\n"
        << "Default library: " << library << "\n";
    return 0;
}
