#include "foundation/SSZipArchive.h"
#include "foundation/SSZipArchiveDelegate.h"
#include "foundation/ZipEntryReader.h"
#include "foundation/ZipExtractor.h"

#include "TestSupport.h"
#include "FileFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <minizip/unzip.h>

#include <sys/stat.h>

using namespace fixtures;

namespace {

struct ZipArchiveTest : ::testing::Test {
    QTemporaryDir temp;
    QString at(const QString& relative) const { return temp.filePath(relative); }

    // A source tree with nested folders, an empty folder, a hidden file and a binary file, zipped by `zip`.
    QString makeTreeZip()
    {
        writeFile(at("src/icons/a.svg"), "<svg/>");
        writeFile(at("src/icons/sub/deeper/b.svg"), "<svg><g/></svg>");
        writeFile(at("src/.hidden"), "h");
        writeFile(at("src/README"), QByteArray(100000, 'r'));
        QByteArray binary;
        for (int i = 0; i < 70000; ++i)
            binary.append(char(i * 7919 % 251));
        writeFile(at("src/icons/big.bin"), binary);
        QDir().mkpath(at("src/empty"));
        run(at("src"), {"zip", "-q", "-r", at("tree.zip"), "."});
        return at("tree.zip");
    }
};

} // namespace

TEST_F(ZipArchiveTest, BenignArchiveExtractsLikeTheUnzipTool)
{
    const QString archive = makeTreeZip();
    run(temp.path(), {"unzip", "-q", archive, "-d", at("reference")});

    std::vector<qint64> numbers;
    qint64 reportedTotal = 0;
    QString completedPath;
    bool completedOk = false;
    const bool ok = SSZipArchive::unzipFileAtPath(
        archive, at("ours"),
        [&](const QString&, const SSZipEntryInfo&, qint64 number, qint64 total) {
            numbers.push_back(number);
            reportedTotal = total;
        },
        [&](const QString& path, bool succeeded, const pt::Error& error) {
            completedPath = path;
            completedOk = succeeded;
            EXPECT_TRUE(error.isNull());
        });
    ASSERT_TRUE(ok);
    EXPECT_TRUE(completedOk);
    EXPECT_EQ(completedPath, archive);
    EXPECT_EQ(treeOf(at("ours")), treeOf(at("reference")));
    run(temp.path(), {"diff", "-r", "--no-dereference", at("reference"), at("ours")});
    ASSERT_FALSE(numbers.empty());
    for (size_t i = 0; i < numbers.size(); ++i)
        EXPECT_EQ(numbers[i], qint64(i + 1));
    EXPECT_EQ(numbers.back(), reportedTotal);

    // Entry dates come along, to the two seconds that MS-DOS dates resolve.
    EXPECT_LE(std::abs(QFileInfo(at("ours/icons/a.svg")).lastModified().secsTo(QFileInfo(at("src/icons/a.svg")).lastModified())),
              2);
}

TEST_F(ZipArchiveTest, NamesSeparatorsAndEncodings)
{
    // "图标" in GB 18030, as old archivers on Chinese-language systems store it.
    const QByteArray gbName = QByteArray("\xcd\xbc\xb1\xea") + ".svg";
    craftZip(at("names.zip"), {{"a\\b.txt", "backslash"},
                               {"c/d.txt", "slash"},
                               {gbName, "gb"},
                               {"\xe5\x9b\xbe.svg", "utf8"},
                               {"./e.txt", "dot"}});
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("names.zip"), at("out")));
    EXPECT_EQ(treeOf(at("out")),
              (QStringList{"a", "a/b.txt", "c", "c/d.txt", "e.txt", u"图.svg"_qs, u"图标.svg"_qs}));

    // The `zip` tool stores a GB 18030 name from disk as its raw bytes.
    QDir().mkpath(at("gbsrc"));
    ASSERT_EQ(::mkdir((QFile::encodeName(at("gbsrc/")) + gbName).constData(), 0755), 0);
    run(at("gbsrc"), {"zip", "-q", "-r", at("gb.zip"), "."});
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("gb.zip"), at("gbout")));
    EXPECT_EQ(treeOf(at("gbout")), QStringList{u"图标.svg"_qs});
}

TEST_F(ZipArchiveTest, NestedArchivesUnpackTwoLevelsDeep)
{
    craftZip(at("l4.zip"), {{"deepest.txt", "4"}});
    QFile l4(at("l4.zip"));
    ASSERT_TRUE(l4.open(QIODevice::ReadOnly));
    craftZip(at("l3.zip"), {{"three.txt", "3"}, {"l4.zip", l4.readAll()}});
    QFile l3(at("l3.zip"));
    ASSERT_TRUE(l3.open(QIODevice::ReadOnly));
    craftZip(at("l2.zip"), {{"two.txt", "2"}, {"l3.zip", l3.readAll()}});
    QFile l2(at("l2.zip"));
    ASSERT_TRUE(l2.open(QIODevice::ReadOnly));
    craftZip(at("l1.zip"), {{"one.txt", "1"}, {"inner/l2.zip", l2.readAll()}});

    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("l1.zip"), at("out")));
    EXPECT_EQ(treeOf(at("out")), (QStringList{"inner", "inner/l4.zip", "inner/three.txt", "inner/two.txt", "one.txt"}))
        << "two levels unpack into the folder that held them and are removed; the third stays packed";
}

// A nested archive may hold an entry under its own name; that entry must not be taken for the archive and
// deleted with it.
TEST_F(ZipArchiveTest, NestedArchiveEntryNamedLikeItsArchiveSurvives)
{
    craftZip(at("same.zip"), {{"same.zip", "not an archive, but an entry of its own"}, {"beside.txt", "b"}});
    QFile same(at("same.zip"));
    ASSERT_TRUE(same.open(QIODevice::ReadOnly));
    craftZip(at("leaf.zip"), {{"leaf.txt", "l"}});
    QFile leaf(at("leaf.zip"));
    ASSERT_TRUE(leaf.open(QIODevice::ReadOnly));
    craftZip(at("twice.zip"), {{"twice.zip", leaf.readAll()}});
    QFile twice(at("twice.zip"));
    ASSERT_TRUE(twice.open(QIODevice::ReadOnly));
    craftZip(at("outer.zip"), {{"icons/same.zip", same.readAll()}, {"icons/twice.zip", twice.readAll()}});

    pt::Error error;
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("outer.zip"), at("out"), SSZipArchive::UnzipOptions(), &error))
        << error.toString().toStdString();
    EXPECT_EQ(treeOf(at("out")), (QStringList{"icons", "icons/beside.txt", "icons/leaf.txt", "icons/same.zip"}))
        << "an inner archive of the same name unpacks in turn; nothing else is left beside the entries";
    QFile kept(at("out/icons/same.zip"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "not an archive, but an entry of its own");

    // Contents that cannot join the folder (a folder where a file is) leave the archive packed and nothing of it.
    craftZip(at("clash.zip"), {{"ok.txt", "o"}, {"taken/inner.svg", "<svg/>"}});
    QFile clash(at("clash.zip"));
    ASSERT_TRUE(clash.open(QIODevice::ReadOnly));
    craftZip(at("outer2.zip"), {{"taken", "a file"}, {"clash.zip", clash.readAll()}});
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("outer2.zip"), at("out2")));
    EXPECT_EQ(treeOf(at("out2")), (QStringList{"clash.zip", "taken"}));
}

TEST_F(ZipArchiveTest, FailuresCarryTheirCodes)
{
    const struct {
        const char* name;
        QByteArray bytes;
        int code;
        const char* text;
    } cases[] = {
        {"not-a-zip", "this is plain text, not an archive", SSZipArchive::ErrorFailedOpenZipFile, "failed to open zip file"},
        {"empty-archive", QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'), SSZipArchive::ErrorFailedOpenFileInZip,
         "failed to open first file in zip file"},
    };
    for (const auto& c : cases) {
        writeFile(at(c.name), c.bytes);
        pt::Error error;
        QString completedPath = "unset";
        const bool ok = SSZipArchive::unzipFileAtPath(at(c.name), at("out"), SSZipArchive::UnzipOptions(), &error, {},
                                                      [&](const QString& path, bool succeeded, const pt::Error&) {
                                                          completedPath = path;
                                                          EXPECT_FALSE(succeeded);
                                                      });
        EXPECT_FALSE(ok) << c.name;
        EXPECT_EQ(error.domain, SSZipArchive::ErrorDomain);
        EXPECT_EQ(error.code, c.code) << c.name;
        EXPECT_EQ(error.localizedDescription(), QString::fromLatin1(c.text));
        EXPECT_TRUE(completedPath.isEmpty()) << c.name;
    }

    // A flipped byte inside the compressed data of the only entry.
    QByteArray content;
    for (int i = 0; i < 20000; ++i)
        content.append(char('a' + i % 26 + (i % 7)));
    craftZip(at("good.zip"), {{"data.txt", content}});
    QFile good(at("good.zip"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    QByteArray flipped = good.readAll();
    flipped[100] = char(flipped.at(100) ^ 0x01);
    writeFile(at("flipped.zip"), flipped);
    pt::Error error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("flipped.zip"), at("flip-out"), SSZipArchive::UnzipOptions(), &error));
    EXPECT_EQ(error.domain, SSZipArchive::ErrorDomain);
    EXPECT_TRUE(error.code == SSZipArchive::ErrorFileInfoNotLoadable || error.code == SSZipArchive::ErrorFileContentNotReadable)
        << error.toString().toStdString();
    EXPECT_FALSE(QFile::exists(at("flip-out/data.txt"))) << "no partial file is left behind";
}

TEST_F(ZipArchiveTest, OverwriteOffSkipsExistingFilesAndTheirNumbers)
{
    craftZip(at("three.zip"), {{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}});
    writeFile(at("out/b.txt"), "old b");
    SSZipArchive::UnzipOptions options;
    options.overwrite = false;
    std::vector<QString> names;
    std::vector<qint64> numbers;
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("three.zip"), at("out"), options, nullptr,
                                              [&](const QString& name, const SSZipEntryInfo&, qint64 number, qint64 total) {
                                                  names.push_back(name);
                                                  numbers.push_back(number);
                                                  EXPECT_EQ(total, 3);
                                              }));
    EXPECT_EQ(names, (std::vector<QString>{"a.txt", "c.txt"}));
    EXPECT_EQ(numbers, (std::vector<qint64>{1, 2}));
    QFile b(at("out/b.txt"));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_EQ(b.readAll(), QByteArray("old b"));

    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("three.zip"), at("out")));
    QFile replaced(at("out/b.txt"));
    ASSERT_TRUE(replaced.open(QIODevice::ReadOnly));
    EXPECT_EQ(replaced.readAll(), QByteArray("new b"));
}

TEST_F(ZipArchiveTest, DelegateCanStopTheUnzip)
{
    struct Stopper : SSZipArchiveDelegate {
        std::vector<qint64> asked;
        int finalEvents = 0;
        bool zipArchiveShouldUnzipFileAtIndex(qint64 index, qint64, const QString&, const SSZipEntryInfo&) override
        {
            asked.push_back(index);
            return index < 1;
        }
        void zipArchiveProgressEvent(quint64 loaded, quint64 total) override
        {
            if (loaded == total)
                ++finalEvents;
        }
    } delegate;
    craftZip(at("three.zip"), {{"a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}});
    SSZipArchive::UnzipOptions options;
    options.delegate = &delegate;
    pt::Error error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("three.zip"), at("out"), options, &error));
    EXPECT_TRUE(error.isNull());
    EXPECT_EQ(delegate.asked, (std::vector<qint64>{0, 1}));
    EXPECT_EQ(delegate.finalEvents, 0);
    EXPECT_EQ(treeOf(at("out")), QStringList{"a.txt"});
}

// A stop asked for inside a nested archive ends the nested unzip and the outer one: nothing after it is written.
TEST_F(ZipArchiveTest, DelegateCanStopInsideANestedArchive)
{
    struct StopInside : SSZipArchiveDelegate {
        QStringList asked;
        bool stopped = false;
        bool zipArchiveShouldUnzipFileAtIndex(qint64 index, qint64, const QString& archive,
                                              const SSZipEntryInfo&) override
        {
            asked << QFileInfo(archive).fileName() + QLatin1Char(':') + QString::number(index);
            stopped = stopped || (archive.endsWith(QLatin1String("inner.zip")) && index == 1);
            return !stopped;
        }
    } delegate;
    craftZip(at("inner.zip"), {{"x.txt", "x"}, {"y.txt", "y"}, {"z.txt", "z"}});
    QFile inner(at("inner.zip"));
    ASSERT_TRUE(inner.open(QIODevice::ReadOnly));
    craftZip(at("outer.zip"), {{"a.txt", "a"}, {"inner.zip", inner.readAll()}, {"b.txt", "b"}});
    SSZipArchive::UnzipOptions options;
    options.delegate = &delegate;
    pt::Error error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("outer.zip"), at("out"), options, &error));
    EXPECT_TRUE(error.isNull());
    EXPECT_EQ(delegate.asked, (QStringList{"outer.zip:0", "outer.zip:1", "inner.zip:0", "inner.zip:1"}));
    EXPECT_EQ(treeOf(at("out")), (QStringList{"a.txt", "inner.zip"}));
}

TEST_F(ZipArchiveTest, BackgroundUnzipReportsOnTheMainQueue)
{
    const QString archive = makeTreeZip();
    bool done = false;
    bool succeeded = false;
    qint64 lastNumber = 0;
    qint64 lastTotal = -1;
    QThread* const mainThread = QThread::currentThread();
    SSZipArchive::unzipFileAtPathInBackground(
        archive, at("bg"), SSZipArchive::UnzipOptions(),
        [&](const QString&, const SSZipEntryInfo&, qint64 number, qint64 total) {
            EXPECT_EQ(QThread::currentThread(), mainThread);
            lastNumber = number;
            lastTotal = total;
        },
        [&](const QString&, bool ok, const pt::Error&) {
            EXPECT_EQ(QThread::currentThread(), mainThread);
            succeeded = ok;
            done = true;
        });
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return done; }));
    EXPECT_TRUE(succeeded);
    EXPECT_EQ(lastNumber, lastTotal) << "the last entry is always reported";
}

TEST_F(ZipArchiveTest, EncryptedEntriesOpenOnlyWithTheirPassword)
{
    QByteArray secret;
    for (int i = 0; i < 50000; ++i)
        secret.append(char('a' + i * 31 % 26));
    writeFile(at("src/secret.txt"), secret);
    writeFile(at("src/plain.txt"), "plain");
    // Deflated and stored, with the sizes before the data and (written to a pipe) after it, where the password
    // check byte comes from the time instead of the CRC.
    run(at("src"), {"zip", "-q", "-P", "pw", at("locked.zip"), "plain.txt", "secret.txt"});
    run(at("src"), {"zip", "-q", "-0", "-P", "pw", at("stored.zip"), "secret.txt"});
    run(at("src"), {"sh", "-c", "zip -q -P pw - secret.txt > " + at("piped.zip")});

    for (const char* name : {"locked.zip", "stored.zip", "piped.zip"}) {
        const QString archive = at(name);
        EXPECT_TRUE(SSZipArchive::isFilePasswordProtectedAtPath(archive)) << name;
        EXPECT_TRUE(SSZipArchive::isPasswordValidForArchiveAtPath(archive, "pw")) << name;
        pt::Error error;
        EXPECT_FALSE(SSZipArchive::isPasswordValidForArchiveAtPath(archive, "wrong", &error)) << name;
        EXPECT_TRUE(error.isNull()) << "a wrong password is an answer, not an error";

        SSZipArchive::UnzipOptions options;
        options.password = "pw";
        const QString out = at(QStringLiteral("open-%1").arg(name));
        ASSERT_TRUE(SSZipArchive::unzipFileAtPath(archive, out, options, &error)) << name << error.toString().toStdString();
        QFile file(out + "/secret.txt");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), secret) << name;

        options.password.clear();
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(archive, at("refused"), options, &error)) << name;
        EXPECT_EQ(error.code, SSZipArchive::ErrorFailedOpenFileInZip);
        EXPECT_EQ(error.localizedDescription(), QStringLiteral("failed to open file in zip file"));
        // A wrong password is refused by the header check, or (one time in 256, the header being random) by
        // the content failing to inflate or its CRC; either way nothing of it stays.
        options.password = "wrong";
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(archive, at("refused"), options, &error)) << name;
        EXPECT_TRUE(error.code == SSZipArchive::ErrorFailedOpenFileInZip || error.code == SSZipArchive::ErrorFileInfoNotLoadable
                    || error.code == SSZipArchive::ErrorFileContentNotReadable);
        EXPECT_FALSE(QFile::exists(at("refused/secret.txt")));
    }
    EXPECT_FALSE(SSZipArchive::isFilePasswordProtectedAtPath(makeTreeZip()));
    EXPECT_TRUE(SSZipArchive::isPasswordValidForArchiveAtPath(at("tree.zip"), "anything"));
    EXPECT_FALSE(SSZipArchive::isFilePasswordProtectedAtPath(at("missing.zip")));
    pt::Error error;
    EXPECT_FALSE(SSZipArchive::isPasswordValidForArchiveAtPath(at("missing.zip"), "pw", &error));
    EXPECT_EQ(error.code, SSZipArchive::ErrorFailedOpenZipFile);
}

// One wrong password in 256 passes the header check; the CRC must then catch it, for stored content too.
TEST_F(ZipArchiveTest, WrongPasswordPastTheHeaderCheckIsStillRefused)
{
    writeFile(at("src/secret.txt"), QByteArray(3000, 's'));
    run(at("src"), {"zip", "-q", "-0", "-P", "pw", at("stored.zip"), "secret.txt"});
    QByteArray lucky;
    unzFile zip = unzOpen64(QFile::encodeName(at("stored.zip")).constData());
    ASSERT_NE(zip, nullptr);
    ASSERT_EQ(unzGoToFirstFile(zip), UNZ_OK);
    SSZipEntryInfo info;
    QByteArray name;
    ASSERT_TRUE(ZipEntryReader::currentEntry(zip, &info, &name));
    for (int i = 0; i < 5000 && lucky.isEmpty(); ++i) {
        const QByteArray candidate = "wrong" + QByteArray::number(i);
        ZipEntryReader reader(zip, info, candidate);
        if (reader.open() == ZipEntryReader::OpenResult::Opened)
            lucky = candidate;
    }
    unzClose(zip);
    ASSERT_FALSE(lucky.isEmpty());

    EXPECT_FALSE(SSZipArchive::isPasswordValidForArchiveAtPath(at("stored.zip"), lucky));
    SSZipArchive::UnzipOptions options;
    options.password = lucky;
    pt::Error error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(at("stored.zip"), at("out"), options, &error));
    EXPECT_EQ(error.code, SSZipArchive::ErrorFileInfoNotLoadable);
    EXPECT_EQ(error.localizedDescription(), QStringLiteral("crc check failed for file"));
    EXPECT_FALSE(QFile::exists(at("out/secret.txt"))) << "the garbage is not left behind";
}

TEST_F(ZipArchiveTest, WrittenArchivesReadBackWithTheUnzipTool)
{
    makeTreeZip();
    std::vector<quint64> done;
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(at("ours.zip"), at("src"), true, {},
                                                  [&](quint64 count, quint64 all) {
                                                      done.push_back(count);
                                                      EXPECT_LE(count, all);
                                                  }));
    EXPECT_FALSE(done.empty());
    run(temp.path(), {"unzip", "-q", at("ours.zip"), "-d", at("roundtrip")});
    run(temp.path(), {"diff", "-r", at("src"), at("roundtrip/src")});
    EXPECT_TRUE(QFileInfo(at("roundtrip/src/empty")).isDir()) << "an empty folder keeps its entry";

    SSZipArchive archive(at("data.zip"));
    ASSERT_TRUE(archive.open());
    ASSERT_TRUE(archive.writeData("payload", "folder/data.txt"));
    ASSERT_TRUE(archive.writeFileAtPath(at("src/README"), "renamed"));
    ASSERT_TRUE(archive.close());
    EXPECT_EQ(run(temp.path(), {"unzip", "-p", at("data.zip"), "folder/data.txt"}), QByteArray("payload"));
    EXPECT_EQ(run(temp.path(), {"unzip", "-p", at("data.zip"), "renamed"}).size(), 100000);

    // Modes carry over to the unzip tool, which honours them only for entries made on UNIX.
    QFile::setPermissions(at("src/icons/a.svg"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup);
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(at("modes.zip"), QStringList{at("src/icons/a.svg")}));
    run(temp.path(), {"unzip", "-q", at("modes.zip"), "-d", at("modes")});
    struct stat status;
    ASSERT_EQ(::stat(QFile::encodeName(at("modes/a.svg")).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0740u);

    // Encrypted entries open with the password, in the unzip tool and here.
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(at("locked.zip"), at("src"), false, "pw2"));
    EXPECT_TRUE(SSZipArchive::isFilePasswordProtectedAtPath(at("locked.zip")));
    EXPECT_EQ(run(temp.path(), {"unzip", "-p", "-P", "pw2", at("locked.zip"), "README"}), QByteArray(100000, 'r'));
    EXPECT_TRUE(SSZipArchive::isPasswordValidForArchiveAtPath(at("locked.zip"), "pw2"));
    EXPECT_FALSE(SSZipArchive::isPasswordValidForArchiveAtPath(at("locked.zip"), "pw3"));
    SSZipArchive::UnzipOptions options;
    options.password = "pw2";
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(at("locked.zip"), at("unlocked"), options));
    run(temp.path(), {"diff", "-r", at("src"), at("unlocked")});
}

TEST(ZipDates, MSDOSDateIsLocalWallClock)
{
    const QDateTime date = ZipExtractor::dateWithMSDOSFormat(0x4A6B8C21);
    EXPECT_EQ(date.date(), QDate(2017, 3, 11));
    EXPECT_EQ(date.time(), QTime(17, 33, 2));
    EXPECT_EQ(date.timeSpec(), Qt::LocalTime);
}
