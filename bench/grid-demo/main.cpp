// The grid with 100,000 synthetic items in sections: scroll, select by click and keys, and watch thumbnails
// arrive. With --screenshot FILE it draws one frame with a selection into FILE and quits.
#include "DemoGridSource.h"

#include "browser/grid/PTGridView.h"
#include "platform/ui/AnimationTiming.h"
#include "ui/PTInterfaceKit.h"

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    PTInterfaceKit::registerAll();
    const QStringList arguments = QApplication::arguments();
    const qsizetype screenshot = arguments.indexOf(QStringLiteral("--screenshot"));
    if (screenshot >= 0)
        pt::AnimationTiming::setScale(0); // the frame shows where the cells end up

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
