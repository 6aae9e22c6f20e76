#include "SvgTestTrees.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QFileInfo>
#include <QPainter>

#include <gtest/gtest.h>

namespace svgtest {

std::shared_ptr<PTSVGParser> parse(const QString& text)
{
    auto result = PTSVGParser::groupForSVGString(text);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().toString().toStdString());
    return result.ok() ? *result : nullptr;
}

QString suiteFolder()
{
    for (const char* relative : {"/../shared/svg-suite/cases", "/../../shared/svg-suite/cases"}) {
        const QString path = QStringLiteral(PICTERN_SOURCE_DIR) + QLatin1String(relative);
        if (QFileInfo::exists(path))
            return QDir(path).canonicalPath();
    }
    return {};
}

std::shared_ptr<PTSVGParser> parseBody(const QString& body)
{
    return parse(QStringLiteral("<svg width=\"100\" height=\"100\">") + body + QStringLiteral("</svg>"));
}

std::shared_ptr<PTSVGNode> find(const PTSVGGroup& root, const QString& identifier)
{
    for (const auto& child : root.children()) {
        if (child->identifier() == identifier)
            return child;
        if (const auto* group = dynamic_cast<const PTSVGGroup*>(child.get())) {
            if (auto found = find(*group, identifier))
                return found;
        }
        if (child->svg()) {
            if (auto found = find(*child->svg(), identifier))
                return found;
        }
    }
    return nullptr;
}

namespace {

QImage overWhite(const QImage& image)
{
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

} // namespace

double differingFraction(const QImage& got, const QImage& expected)
{
    const QImage a = overWhite(got), b = overWhite(expected);
    qint64 differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* rowA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rowB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const int d = std::max({std::abs(qRed(rowA[x]) - qRed(rowB[x])), std::abs(qGreen(rowA[x]) - qGreen(rowB[x])),
                                    std::abs(qBlue(rowA[x]) - qBlue(rowB[x]))});
            differing += d > 32;
        }
    }
    return double(differing) / (qint64(a.width()) * a.height());
}

std::string hex(const std::optional<QColor>& color)
{
    if (!color)
        return "unset";
    const QColor rgb = color->toRgb();
    return QStringLiteral("#%1%2%3%4")
        .arg(rgb.red(), 2, 16, QLatin1Char('0'))
        .arg(rgb.green(), 2, 16, QLatin1Char('0'))
        .arg(rgb.blue(), 2, 16, QLatin1Char('0'))
        .arg(rgb.alpha(), 2, 16, QLatin1Char('0'))
        .toStdString();
}

} // namespace svgtest

QMap<QString, QString> svgtest::expectedFailures()
{
    QMap<QString, QString> failures;
    QFile file(QStringLiteral(PICTERN_SOURCE_DIR) + QStringLiteral("/tests/svg/conformance-expected-failures.txt"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return failures;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype space = line.indexOf(u' ');
        failures.insert(line.left(space), space < 0 ? QString() : line.mid(space + 1).trimmed());
    }
    return failures;
}

