#include "foundation/RegularFile.h"

#include "FileFixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

using regularFile::Links;

namespace {

struct Case {
    const char* name;
    Links links;
    bool readable;
    int error;
};

} // namespace

// Whatever stands at a name we read, the reader answers at once: a pipe without a writer, a device without end
// and links are refused by what they are, not by waiting on them.
TEST(RegularFile, ReadsOnlyRegularFilesAndAnswersAtOnce)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QDir dir(folder.path());
    fixtures::writeFile(dir.filePath("file"), "contents");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(dir.filePath("file"), dir.filePath("link-to-file")));
    ASSERT_TRUE(QFile::link(dir.filePath("pipe"), dir.filePath("link-to-pipe")));
    ASSERT_TRUE(QFile::link("/dev/zero", dir.filePath("link-to-zero")));
    ASSERT_TRUE(dir.mkdir("folder"));

    const Case cases[] = {
        {"file", Links::Refuse, true, 0},
        {"link-to-file", Links::Follow, true, 0},
        {"link-to-file", Links::Refuse, false, ELOOP},
        {"pipe", Links::Follow, false, EINVAL},
        {"link-to-pipe", Links::Follow, false, EINVAL},
        {"link-to-pipe", Links::Refuse, false, ELOOP},
        {"link-to-zero", Links::Follow, false, EINVAL},
        {"folder", Links::Follow, false, EINVAL},
        {"missing", Links::Follow, false, ENOENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const pt::Result<QByteArray> data = regularFile::read(dir.filePath(c.name), 1024, c.links);
        ASSERT_EQ(data.ok(), c.readable);
        if (c.readable)
            EXPECT_EQ(*data, "contents");
        else
            EXPECT_EQ(data.error().code, c.error);
    }
}

TEST(RegularFile, RefusesAFileBeyondTheLimitWithoutReadingIt)
{
    QTemporaryDir folder;
    const QString path = QDir(folder.path()).filePath("big");
    fixtures::writeFile(path, QByteArray(100, 'x'));
    EXPECT_TRUE(regularFile::read(path, 100, Links::Refuse).ok());
    const pt::Result<QByteArray> tooBig = regularFile::read(path, 99, Links::Refuse);
    ASSERT_FALSE(tooBig.ok());
    EXPECT_EQ(tooBig.error().code, EFBIG);
}
