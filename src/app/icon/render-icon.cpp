// render-icon IN.svg OUT-FOLDER SIZE...: draws the application icon with our SVG engine into the icon theme's
// layout, OUT-FOLDER/<size>x<size>/apps/<name>.png, at build time.
#include "svg/PTSVG.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 4) {
        std::fprintf(stderr, "usage: render-icon IN.svg OUT-FOLDER SIZE...\n");
        return 2;
    }
    const auto svg = PTSVG::svgWithFile(arguments[1], false);
    if (!svg) {
        std::fprintf(stderr, "%s\n", qPrintable(svg.error().toString()));
        return 1;
    }
    const QString name = QFileInfo(arguments[1]).completeBaseName();
    for (const QString& sizeText : arguments.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size <= 0 || size > 1024) {
            std::fprintf(stderr, "not a size: %s\n", qPrintable(sizeText));
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(arguments[2]).arg(size);
        pt::Error error;
        const QImage image = svg.value()->imageWithSize(QSize(size, size), false, &error);
        if (!QDir().mkpath(folder) || image.isNull() || !image.save(folder + QLatin1Char('/') + name + ".png", "PNG")) {
            std::fprintf(stderr, "cannot render %s at %d: %s\n", qPrintable(name), size, qPrintable(error.toString()));
            return 1;
        }
    }
    return 0;
}
