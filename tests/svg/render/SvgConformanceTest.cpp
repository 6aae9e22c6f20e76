// Renders every SVG conformance case at its reference size and compares with the reference image: a case
// passes when, both composited over white, at most 0.5% of pixels differ by more than 32/255 in any channel.
// The test fails only when a case outside conformance-expected-failures.txt fails; it prints the pass rate per
// feature and in all.
#include "SvgTestTrees.h"
#include "svg/PTSVG.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cstdio>

namespace {


// The fraction of differing pixels of the case's rendering (1 when it does not render).
double difference(const QString& svgPath)
{
    const QImage reference(svgPath.chopped(4) + QStringLiteral(".png"));
    if (reference.isNull())
        return 1;
    auto svg = PTSVG::svgWithFile(svgPath, false);
    if (!svg)
        return 1;
    const QImage image = svg.value()->imageWithSize(reference.size());
    return image.isNull() ? 1 : svgtest::differingFraction(image, reference);
}

} // namespace

TEST(SvgConformance, CasesOutsideTheExpectedFailuresPass)
{
    const QString folder = svgtest::suiteFolder();
    if (folder.isEmpty())
        GTEST_SKIP() << "the SVG conformance cases are not beside the repository";
    const QMap<QString, QString> expected = svgtest::expectedFailures();
    for (const QString& reason : expected)
        EXPECT_TRUE(reason.startsWith(u"unsupported: ") || reason.startsWith(u"bug: ")) << reason.toStdString();
    QStringList cases;
    QDirIterator it(folder, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        cases << QDir(folder).relativeFilePath(it.next());
    cases.sort();
    ASSERT_FALSE(cases.isEmpty());

    QMap<QString, std::pair<int, int>> byFeature;
    int passed = 0;
    QStringList nowPassing;
    for (const QString& name : cases) {
        const double differing = difference(folder + u'/' + name);
        const bool ok = differing <= svgtest::ConformingFraction;
        const QString feature = name.section(u'/', 0, 1);
        byFeature[feature].first += ok;
        byFeature[feature].second += 1;
        passed += ok;
        if (!ok && !expected.contains(name))
            ADD_FAILURE() << "stopped passing: " << name.toStdString() << " (" << differing * 100 << "% of pixels differ)";
        if (ok && expected.contains(name))
            nowPassing << name;
    }
    for (auto it = byFeature.begin(); it != byFeature.end(); ++it)
        std::printf("%-40s %4d/%-4d\n", qPrintable(it.key()), it.value().first, it.value().second);
    std::printf("passed %d/%d = %.1f%%\n", passed, int(cases.size()), 100.0 * passed / cases.size());
    for (const QString& name : nowPassing)
        std::printf("passes now, drop from the expected failures: %s\n", qPrintable(name));
}
