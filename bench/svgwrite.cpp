// Writes SVG files with the SVG writer: svgwrite IN OUT OPTIONS, or svgwrite --list LIST OPTIONS where each line
// of LIST is IN<TAB>OUT. The list form writes many files in one process, as the writer comparison needs.
#include "svg/PTSVG.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

static bool writeOne(const QString& in, const QString& out, std::uint32_t options)
{
    auto svg = PTSVG::svgWithFile(in, false);
    if (!svg) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(in), qPrintable(svg.error().toString()));
        return false;
    }
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly) || file.write(svg.value()->SVGStringWithOptions(options).toUtf8()) < 0
        || !file.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
        return false;
    }
    return true;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    bool optionsOk = false;
    const std::uint32_t options = arguments.value(3).toUInt(&optionsOk, 0);
    if (arguments.size() != 4 || !optionsOk) {
        std::fprintf(stderr, "usage: svgwrite IN OUT OPTIONS | svgwrite --list LIST OPTIONS\n");
        return 2;
    }
    if (arguments[1] != QLatin1String("--list"))
        return writeOne(arguments[1], arguments[2], options) ? 0 : 1;

    QFile list(arguments[2]);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments[2]));
        return 2;
    }
    int failed = 0;
    while (!list.atEnd()) {
        const QString line = QString::fromUtf8(list.readLine()).trimmed();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (line.isEmpty())
            continue;
        if (tab <= 0 || !writeOne(line.left(tab), line.mid(tab + 1), options))
            ++failed;
    }
    return failed ? 1 : 0;
}
