// The interface kit's gallery: every group of widgets on a page of its own, in the desktop's light or dark scheme
// or the user's choice. With --screenshots [folder] it writes a picture of each page in both themes and exits.
#include "GalleryPages.h"
#include "GalleryWindow.h"

#include "ui/PTInterfaceKit.h"
#include "ui/PTMainWindow.h"
#include "ui/theme/PTThemeController.h"

#include <QApplication>
#include <QStyleFactory>
#include <QTextStream>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictern"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    std::setlocale(LC_NUMERIC, "C");
    PTInterfaceKit::registerAll();
    PTInterfaceKit::installLibrarySeams();
    PTThemeController::defaultController();

    const QStringList arguments = QApplication::arguments();
    const qsizetype screenshots = arguments.indexOf(QStringLiteral("--screenshots"));
    if (screenshots >= 0) {
        const QString folder = screenshots + 1 < arguments.size() ? arguments[screenshots + 1]
                                                                 : QStringLiteral("screenshots");
        const QStringList files = GalleryPages::writeScreenshots(folder);
        QTextStream(stdout) << files.join(QLatin1Char('\n')) << '\n';
        return files.size() == 2 * static_cast<qsizetype>(GalleryPages::stillPages().size()) ? 0 : 1;
    }

    GalleryWindow window;
    PTSetMainWindow(&window);
    window.show();
    return app.exec();
}
