// Compares two renders by the exporter's rule: equal when at most 2% of the pixels differ in some channel by more
// than 24 of 255. Channels are compared premultiplied, as they show: the colour of a pixel with an alpha of 1/255
// is noise, and an edge moved by a hundredth of a pixel must not count as a difference of 255. svgdiff A.png B.png prints "equal" or "differ N" (exit 0 / 1); svgdiff --list LIST reads pairs
// A<TAB>B, names each unequal pair on stdout and ends with "equal E of N".
#include <QCoreApplication>
#include <QFile>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// Whether the renders count as equal; differing gets the pixels off by more than the tolerance, or -1 when one
// image is missing or the sizes differ.
static bool rendersEqual(const QString& pathA, const QString& pathB, int& differing)
{
    differing = -1;
    const QImage a = QImage(pathA).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = QImage(pathB).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (a.isNull() || b.isNull() || a.size() != b.size())
        return false;
    differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int pixel = std::max({std::abs(qRed(lineA[x]) - qRed(lineB[x])),
                                        std::abs(qGreen(lineA[x]) - qGreen(lineB[x])),
                                        std::abs(qBlue(lineA[x]) - qBlue(lineB[x])),
                                        std::abs(qAlpha(lineA[x]) - qAlpha(lineB[x]))});
            differing += pixel > 24;
        }
    }
    return qint64(differing) * 50 <= qint64(a.width()) * a.height();
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: svgdiff A.png B.png | svgdiff --list LIST\n");
        return 2;
    }
    if (arguments[1] != QLatin1String("--list")) {
        int differing = 0;
        const bool equal = rendersEqual(arguments[1], arguments[2], differing);
        std::printf(equal ? "equal\n" : "differ %d\n", differing);
        return equal ? 0 : 1;
    }
    QFile list(arguments[2]);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arguments[2]));
        return 2;
    }
    int pairs = 0, equalPairs = 0;
    while (!list.atEnd()) {
        const QString line = QString::fromUtf8(list.readLine()).trimmed();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0)
            continue;
        ++pairs;
        int differing = 0;
        if (rendersEqual(line.left(tab), line.mid(tab + 1), differing))
            ++equalPairs;
        else
            std::printf("differ %d\t%s\n", differing, qPrintable(line.mid(tab + 1)));
    }
    std::printf("equal %d of %d\n", equalPairs, pairs);
    return 0;
}
