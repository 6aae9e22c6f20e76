#include "ExportTestFiles.h"

#include "transfer/import/PTImportExpansion.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList fileNames(const QVector<PTImportExpansion::Entry>& entries)
{
    QStringList names;
    for (const PTImportExpansion::Entry& entry : entries)
        names << QFileInfo(entry.path).fileName();
    return names;
}

} // namespace

TEST(ImportExpansion, APictureRepeatedInsideAnIconIsTakenOnce)
{
    QTemporaryDir dir;
    const QByteArray red = pt::test::oneColourPNG({16, 16}, Qt::red);
    const QByteArray green = pt::test::oneColourPNG({16, 16}, Qt::green);
    const QByteArray large = pt::test::oneColourPNG({32, 32}, Qt::blue);
    QList<QByteArray> pictures{red, green, large};
    // Hundreds of entries that repeat three pictures.
    for (int i = 0; i < 600; ++i)
        pictures << pictures[i % 3];
    const QString ico = dir.filePath("tool.ico");
    pt::test::writeFile(ico, pt::test::icoOfPNGs(pictures));
    const QVector<PTImportExpansion::Entry> entries =
        PTImportExpansion::expand(ico, PTImportFileType::ICO, dir.filePath("parts"));
    EXPECT_EQ(fileNames(entries), (QStringList{"tool.ico", "tool-16x16.png", "tool-16x16.1.png", "tool-32x32.png"}));
    EXPECT_EQ(QDir(dir.filePath("parts")).entryList(QDir::Files).size(), 3);
}
