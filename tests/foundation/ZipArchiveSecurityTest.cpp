#include "foundation/SSZipArchive.h"

#include "FileFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace fixtures;

namespace {

struct ZipSecurityTest : ::testing::Test {
    QTemporaryDir temp;
    QString at(const QString& relative) const { return temp.filePath(relative); }

    pt::Error unzipExpectingFailure(const QString& archive, const QString& destination,
                                    const SSZipArchive::UnzipOptions& options = {})
    {
        pt::Error error;
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(archive, destination, options, &error));
        return error;
    }
};

} // namespace

TEST_F(ZipSecurityTest, EscapingNamesRefuseTheWholeArchiveBeforeWriting)
{
    const QByteArray names[] = {"../evil.txt", "a/../../evil.txt", "/tmp/evil-absolute.txt", "..\\evil.txt",
                                "C:\\evil.txt", "ok/../../evil.txt"};
    int index = 0;
    for (const QByteArray& name : names) {
        const QString archive = at(QStringLiteral("attack%1.zip").arg(index));
        const QString destination = at(QStringLiteral("box%1/dest").arg(index));
        craftZip(archive, {{"first-benign.txt", "fine"}, {name, "evil"}});
        const pt::Error error = unzipExpectingFailure(archive, destination);
        EXPECT_EQ(error.domain, SSZipArchive::ErrorDomain) << name.constData();
        EXPECT_EQ(error.code, SSZipArchive::ErrorUnsafeEntry) << name.constData();
        EXPECT_TRUE(treeOf(at(QStringLiteral("box%1").arg(index))).filter("evil").isEmpty()) << name.constData();
        EXPECT_FALSE(QFile::exists(destination + "/first-benign.txt")) << "names are checked before writing";
        ++index;
    }
    EXPECT_FALSE(QFile::exists("/tmp/evil-absolute.txt"));
    EXPECT_TRUE(treeOf(temp.path()).filter("evil").isEmpty());
}

TEST_F(ZipSecurityTest, SymbolicLinkEntriesAreNotCreated)
{
    QDir().mkpath(at("src"));
    writeFile(at("src/real.txt"), "real");
    ASSERT_TRUE(QFile::link("/etc/passwd", at("src/link")));
    run(at("src"), {"zip", "-q", "-y", at("links.zip"), "real.txt", "link"});
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("links.zip"), at("out")));
    EXPECT_EQ(treeOf(at("out")), QStringList{"real.txt"});

    // A link entry followed by a file "through" it stays inside: the name becomes a real folder.
    craftZip(at("chain.zip"), {{"dir", at("outside").toUtf8(), 0120777}, {"dir/planted.txt", "planted"}});
    QDir().mkpath(at("outside"));
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("chain.zip"), at("out2")));
    EXPECT_TRUE(QFileInfo(at("out2/dir")).isDir());
    EXPECT_FALSE(QFileInfo(at("out2/dir")).isSymLink());
    EXPECT_TRUE(treeOf(at("outside")).isEmpty());
}

TEST_F(ZipSecurityTest, NeverWritesThroughLinksAlreadyInTheDestination)
{
    QDir().mkpath(at("outside"));
    writeFile(at("outside/victim.txt"), "untouched");
    QDir().mkpath(at("dest"));
    ASSERT_TRUE(QFile::link(at("outside"), at("dest/sub")));
    ASSERT_TRUE(QFile::link(at("outside/victim.txt"), at("dest/victim.txt")));

    for (const QByteArray& name : {QByteArray("sub/new.txt"), QByteArray("victim.txt")}) {
        craftZip(at("a.zip"), {{name, "overwritten"}});
        const pt::Error error = unzipExpectingFailure(at("a.zip"), at("dest"));
        EXPECT_EQ(error.code, SSZipArchive::ErrorUnsafeEntry) << name.constData();
        QFile::remove(at("a.zip"));
    }
    EXPECT_EQ(treeOf(at("outside")), QStringList{"victim.txt"});
    QFile victim(at("outside/victim.txt"));
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), QByteArray("untouched"));
}

TEST_F(ZipSecurityTest, ModesAreMaskedToPermissionBits)
{
    craftZip(at("modes.zip"), {{"setuid", "x", 0104755}, {"plain", "x", 0100640}, {"dosmade", "x", 0, 0}});
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("modes.zip"), at("out")));
    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(at("out/setuid")).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0755u);
    ASSERT_EQ(::stat(QFile::encodeName(at("out/plain")).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_TRUE(QFile::exists(at("out/dosmade")));
}

TEST_F(ZipSecurityTest, OutputAndEntryLimits)
{
    craftZip(at("bomb.zip"), {{"zeros.bin", QByteArray(3 << 20, '\0')}, {"more.bin", QByteArray(3 << 20, '\0')}});
    SSZipArchive::UnzipOptions small;
    small.maxTotalBytes = 4 << 20;
    EXPECT_EQ(unzipExpectingFailure(at("bomb.zip"), at("out"), small).code, SSZipArchive::ErrorArchiveTooLarge);
    EXPECT_TRUE(treeOf(at("out")).isEmpty()) << "refused before writing";

    SSZipArchive::UnzipOptions few;
    few.maxEntries = 1;
    EXPECT_EQ(unzipExpectingFailure(at("bomb.zip"), at("out2"), few).code, SSZipArchive::ErrorArchiveTooLarge);

    // Nested archives share the budget.
    QFile bomb(at("bomb.zip"));
    ASSERT_TRUE(bomb.open(QIODevice::ReadOnly));
    craftZip(at("outer.zip"), {{"inner.zip", bomb.readAll()}});
    SSZipArchive::UnzipOptions budget;
    budget.maxTotalBytes = 5 << 20;
    EXPECT_EQ(unzipExpectingFailure(at("outer.zip"), at("out3"), budget).code, SSZipArchive::ErrorArchiveTooLarge);
}
