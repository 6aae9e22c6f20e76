#include "ui/colour/NameThatColor.h"

#include "ui/colour/HSBComponents.h"

#include <QFile>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcColourNames, "pictern.ui.colour")

namespace NameThatColor {
namespace {

const QString kTableResource = QStringLiteral(":/colour-names.txt");

Entry entryFor(const QString& hex, const QString& name)
{
    const QColor color = QColor::fromString(QLatin1Char('#') + hex);
    const PTHSBComponents hsb = HSBComponents::HSBComponents(color);
    return {hex, name, color.redF(), color.greenF(), color.blueF(), hsb.hue, hsb.saturation, hsb.brightness};
}

std::vector<Entry> loadTable()
{
    std::vector<Entry> table;
    QFile file(kTableResource);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcColourNames) << "Cannot read the colour names" << kTableResource;
        return table;
    }
    table.reserve(1600);
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab != 6)
            continue;
        table.push_back(entryFor(line.left(6), line.mid(7)));
    }
    return table;
}

double square(double x)
{
    return x * x;
}

} // namespace

const std::vector<Entry>& ntc_array()
{
    static const std::vector<Entry> table = loadTable();
    return table;
}

QString ntc_name(const QColor& color, bool* exact)
{
    const QColor rgb = color.toRgb();
    const double r = rgb.redF(), g = rgb.greenF(), b = rgb.blueF();
    const PTHSBComponents hsb = HSBComponents::HSBComponents(rgb);
    const Entry* best = nullptr;
    double bestDistance = -1;
    for (const Entry& entry : ntc_array()) {
        if (r == entry.r && g == entry.g && b == entry.b && hsb.hue == entry.h && hsb.saturation == entry.s
            && hsb.brightness == entry.l) {
            if (exact)
                *exact = true;
            return entry.name;
        }
        const double distance = square(r - entry.r) + square(g - entry.g) + square(b - entry.b)
            + 2 * (square(hsb.hue - entry.h) + square(hsb.saturation - entry.s) + square(hsb.brightness - entry.l));
        if (bestDistance < 0 || bestDistance > distance) {
            best = &entry;
            bestDistance = distance;
        }
    }
    if (!best)
        return QStringLiteral("Unknown");
    if (exact)
        *exact = false;
    return best->name;
}

} // namespace NameThatColor
