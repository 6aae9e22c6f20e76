#include "ExportTestFiles.h"

#include "svg/PTSVG.h"
#include "transfer/import/PTImportExpansion.h"

#include <QDir>
#include <QFile>
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

// The usual web sprite: symbols with ids and view boxes in a sheet that is not drawn, one of them painted with a
// gradient of the sheet's definitions. A sheet of a size of its own comes in after its parts, as with nested
// documents; one without a size is no picture and stays out.
TEST(ImportExpansion, EachSymbolOfASpriteSheetIsADocumentSizedByItsViewBox)
{
    for (const bool sized : {false, true}) {
        SCOPED_TRACE(sized ? "sheet with a size" : "sheet without a size");
        QTemporaryDir dir;
        const QString sprite = dir.filePath("sprite.svg");
        pt::test::writeFile(sprite, QByteArray(R"svg(<svg xmlns="http://www.w3.org/2000/svg" )svg")
                                        + (sized ? R"svg(viewBox="0 0 10 10">)svg" : R"svg(style="display: none">)svg")
                                        + R"svg(
  <defs>
    <linearGradient id="warm" x1="0" y1="0" x2="1" y2="1"><stop offset="0" stop-color="#ff0000"/><stop offset="1" stop-color="#ff0000"/></linearGradient>
    <symbol id="icon-home" viewBox="0 0 24 24"><path d="M0 0h24v24H0z" fill="#0000ff"/></symbol>
  </defs>
  <symbol id="icon-star" viewBox="0 0 32 32" fill="url(#warm)"><path d="M0 0h32v32H0z"/></symbol>
  <symbol id="icon-wide" viewBox="0 0 48 16"><rect width="48" height="16" fill="#00ff00"/></symbol>
</svg>)svg");
        const QVector<PTImportExpansion::Entry> entries =
            PTImportExpansion::expand(sprite, PTImportFileType::SVG, dir.filePath("parts"));
        ASSERT_EQ(entries.size(), sized ? 4 : 3);
        struct Part {
            QString name;
            QSizeF size;
            QColor colour;
        };
        const Part parts[] = {{"icon-home", {24, 24}, Qt::blue}, {"icon-star", {32, 32}, Qt::red},
                              {"icon-wide", {48, 16}, Qt::green}};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(parts[i].name.toStdString());
            const PTImportExpansion::Entry& entry = entries[i];
            EXPECT_EQ(entry.name, parts[i].name);
            EXPECT_TRUE(entry.temporary);
            const PTSVG::Result part = PTSVG::svgWithFile(entry.path, false);
            ASSERT_TRUE(part) << "the part does not parse";
            EXPECT_EQ((*part)->proposedSize(), parts[i].size);
            const QImage image = (*part)->imageWithSize(parts[i].size.toSize());
            QFile written(entry.path);
            EXPECT_TRUE(written.open(QIODevice::ReadOnly));
            EXPECT_EQ(image.pixelColor(4, 4), parts[i].colour) << written.readAll().toStdString();
        }
        if (sized) {
            EXPECT_EQ(entries[3].path, sprite);
            EXPECT_FALSE(entries[3].name.has_value());
            EXPECT_FALSE(entries[3].temporary);
        }
    }
}
