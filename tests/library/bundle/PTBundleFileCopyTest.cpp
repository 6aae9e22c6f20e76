#include "library/bundle/PTBundleFileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Names already in the folder, files and links alike, are passed over; nothing is written through a link.
TEST(BundleFileCopy, TakenNamesAndLinksAreSkipped)
{
    QTemporaryDir sources;
    QTemporaryDir folder;
    QTemporaryDir elsewhere;
    const QString source = sources.filePath("Arrow Left.svg");
    write(source, "<svg/>");
    write(folder.filePath("taken.svg"), "old");
    const QString outside = elsewhere.filePath("target.svg");
    ASSERT_TRUE(QFile::link(outside, folder.filePath("dangling.svg")));
    write(elsewhere.filePath("existing.svg"), "outside");
    ASSERT_TRUE(QFile::link(elsewhere.filePath("existing.svg"), folder.filePath("linked.svg")));

    const struct {
        QString name;
        QString expected;
    } cases[]{
        {"Arrow Left.svg", "arrow-left.svg"},
        {"Arrow Left.svg", "arrow-left.1.svg"},
        {"Taken.svg", "taken.1.svg"},
        {"dangling.svg", "dangling.1.svg"},
        {"linked.svg", "linked.1.svg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QString error;
        EXPECT_EQ(PTBundleFileCopy::copyIntoFolder(source, c.name, folder.path(), &error), c.expected);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        EXPECT_EQ(read(folder.filePath(c.expected)), "<svg/>");
    }
    EXPECT_EQ(read(folder.filePath("taken.svg")), "old");
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_EQ(read(elsewhere.filePath("existing.svg")), "outside");
}

TEST(BundleFileCopy, FailuresLeaveNothingAndSayWhy)
{
    QTemporaryDir folder;
    QString error;
    EXPECT_TRUE(PTBundleFileCopy::copyIntoFolder(folder.filePath("missing.svg"), "a.svg", folder.path(), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
    write(folder.filePath("source.svg"), "<svg/>");
    error.clear();
    EXPECT_TRUE(
        PTBundleFileCopy::copyIntoFolder(folder.filePath("source.svg"), "b.svg", folder.filePath("no-such-folder"), &error)
            .isEmpty());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"source.svg"});
}
