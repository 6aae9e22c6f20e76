// The grid with 100,000 synthetic items in sections: scroll, select by click and keys, and watch thumbnails
// arrive. With --screenshot FILE it draws one frame with a selection into FILE and quits. With --browse it opens
// the browsing window over a library of the icon theme's sets instead; --search TEXT types into its search field.
#include "BrowsingWindow.h"
#include "DemoGridSource.h"
#include "DemoLibrary.h"

#include "browser/views/PTToolbarSearchField.h"

#include "browser/grid/PTGridView.h"
#include "platform/ui/AnimationTiming.h"
#include "ui/PTInterfaceKit.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTimer>

namespace {

// One set per context folder of the icon theme, at most 400 icons each.
int browse(const QStringList& arguments, qsizetype screenshot)
{
    DemoLibrary library;
    QVector<PTCollection*> sets;
    const QDir theme(QStringLiteral("/usr/share/icons/Papirus/48x48"));
    for (const QString& context : theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        PTCollection* set = library.addSet(context);
        if (library.addFolder(set, theme.filePath(context), 400) > 0)
            sets.append(set);
    }
    library.save();
    BrowsingWindow window(sets);
    window.resize(1100, 700);
    window.show();
    if (!sets.isEmpty())
        window.setList()->setCurrentRow(0);
    if (const qsizetype search = arguments.indexOf(QStringLiteral("--search")); search >= 0 && search + 1 < arguments.size())
        window.searchField()->setText(arguments[search + 1]);
    if (screenshot < 0 || screenshot + 1 >= arguments.size())
        return QApplication::exec();
    QTimer::singleShot(1500, &window, [&] { QApplication::exit(window.grab().save(arguments[screenshot + 1]) ? 0 : 1); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    PTInterfaceKit::registerAll();
    const QStringList arguments = QApplication::arguments();
    const qsizetype screenshot = arguments.indexOf(QStringLiteral("--screenshot"));
    if (screenshot >= 0)
        pt::AnimationTiming::setScale(0); // the frame shows where the cells end up
    if (arguments.contains(QStringLiteral("--browse")))
        return browse(arguments, screenshot);

    DemoGridSource source(100000);
    PTGridView grid;
    grid.setWindowTitle(QStringLiteral("Grid demo"));
    grid.setItemMargin(12);
    grid.setSectionHeaderHeight(30);
    grid.setItemSize(QSizeF(64, 78));
    grid.resize(1200, 800);
    grid.show();
    grid.setDataSource(&source);

    // Thumbnails arrive for what is on screen, a batch at a time.
    QTimer stream;
    QObject::connect(&stream, &QTimer::timeout, &grid, [&] {
        const GridRange shown = grid.geometry().rangeOfItemsInRect(grid.visibleRect());
        source.deliverThumbnails(grid, shown.location, shown.length / 4 + 1);
    });
    stream.start(30);

    if (screenshot >= 0 && screenshot + 1 < arguments.size()) {
        source.deliverThumbnails(grid, 0, 400);
        grid.selectIndexPaths({{0, 2}, {0, 3}, {0, 20}});
        grid.verticalScrollBar()->setValue(20);
        grid.animator().tick();
        QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        grid.viewport()->render(&image);
        return image.save(arguments[screenshot + 1]) ? 0 : 1;
    }
    return QApplication::exec();
}
