// Renders one SVG file to a PNG of the given size with the SVG engine: svgrender IN OUT.png WIDTH HEIGHT.
// The conformance runner and the side-by-side scripts call it.
#include "svg/PTSVG.h"

#include <QCoreApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    bool widthOk = false, heightOk = false;
    const int width = arguments.value(3).toInt(&widthOk), height = arguments.value(4).toInt(&heightOk);
    if (arguments.size() != 5 || !widthOk || !heightOk || width <= 0 || height <= 0) {
        std::fprintf(stderr, "usage: svgrender IN OUT.png WIDTH HEIGHT\n");
        return 2;
    }
    auto svg = PTSVG::svgWithFile(arguments[1], false);
    if (!svg) {
        std::fprintf(stderr, "%s\n", qPrintable(svg.error().toString()));
        return 1;
    }
    pt::Error error;
    const QImage image = svg.value()->imageWithSize(QSize(width, height), false, &error);
    if (!error.isNull())
        std::fprintf(stderr, "%s\n", qPrintable(error.toString()));
    if (image.isNull() || !image.save(arguments[2], "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(arguments[2]));
        return 1;
    }
    return 0;
}
