// Every SVG icon of the installed icon themes parses and draws without a crash or a hang.
#include "SvgTestTrees.h"
#include "svg/PTSVG.h"
#include "svg/parse/PTSVGParser.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Regular files only: the themes link many names to one file.
QStringList themeFiles(const QStringList& themes)
{
    QStringList files;
    for (const QString& theme : themes) {
        QDirIterator it(QStringLiteral("/usr/share/icons/") + theme, {QStringLiteral("*.svg")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info = it.nextFileInfo();
            if (!info.isSymLink())
                files << info.filePath();
        }
    }
    return files;
}

} // namespace

TEST(SvgRealData, EveryThemeIconParsesAndDrawsAt64Pixels)
{
    const QStringList files = themeFiles({QStringLiteral("Papirus"), QStringLiteral("breeze"), QStringLiteral("breeze-dark")});
    if (files.isEmpty())
        GTEST_SKIP() << "papirus-icon-theme and breeze-icon-theme are not installed";
    constexpr qint64 MaximumMillisecondsPerFile = 2000;
    QMap<qint64, int> failures;
    QStringList slow;
    QElapsedTimer clock;
    for (const QString& file : files) {
        clock.start();
        const auto result = PTSVGParser::groupForFileURL(file);
        if (clock.elapsed() > MaximumMillisecondsPerFile)
            slow << file;
        if (!result.ok()) {
            failures[result.error().code] += 1;
            ADD_FAILURE() << file.toStdString() << ": " << result.error().toString().toStdString();
            continue;
        }
        pt::Error error;
        const QImage image = PTSVG::svgWithParsedTree(result.value())->imageWithSize({64, 64}, false, &error);
        if (image.isNull() || !error.isNull())
            ADD_FAILURE() << file.toStdString() << " does not draw: " << error.toString().toStdString();
    }
    EXPECT_TRUE(slow.isEmpty()) << slow.join(u'\n').toStdString();
    std::printf("parsed and drew %lld theme icons\n", qlonglong(files.size()));
}

TEST(SvgRealData, EveryConformanceCaseParses)
{
    const QString folder = svgtest::suiteFolder();
    if (folder.isEmpty())
        GTEST_SKIP() << "the SVG conformance cases are not beside the repository";
    // Cases whose failure to parse is expected, with the reason.
    const QMap<QString, qint64> expected = {
        // QXmlStreamReader refuses markup inside an entity value.
        {QStringLiteral("structure/svg/elements-via-ENTITY-reference-3.svg"), 1},
        // Neither a size nor a view box: nothing to fit into a rectangle.
        {QStringLiteral("structure/svg/no-size.svg"), 4},
    };
    int count = 0;
    QDirIterator it(folder, {QStringLiteral("*.svg")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString name = file.mid(folder.size() + 1);
        const auto result = PTSVGParser::groupForFileURL(file);
        ++count;
        if (expected.contains(name))
            EXPECT_TRUE(!result.ok() && result.error().code == expected.value(name)) << name.toStdString();
        else
            EXPECT_TRUE(result.ok()) << name.toStdString() << ": " << result.error().toString().toStdString();
    }
    EXPECT_GT(count, 300);
}
