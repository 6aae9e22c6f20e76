// Every SVG icon of the installed icon themes parses without a crash or a hang.
#include "svg/PTSVGParser.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>

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

TEST(SvgRealData, EveryThemeIconParses)
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
        }
    }
    EXPECT_TRUE(slow.isEmpty()) << slow.join(u'\n').toStdString();
    std::printf("parsed %lld theme icons\n", qlonglong(files.size()));
}
