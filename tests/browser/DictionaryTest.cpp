#include "TestSupport.h"

#include "browser/dictionary/PTDCDictionary.h"
#include "foundation/DataAdditions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <sys/stat.h>

namespace {

// dictd's base-64 digits for an index number.
QByteArray encodeNumber(qint64 value)
{
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    QByteArray encoded;
    do {
        encoded.prepend(digits[value % 64]);
        value /= 64;
    } while (value > 0);
    return encoded;
}

// A database built in memory: each definition appended to the data, with its index line.
struct Database {
    QByteArray data;
    QByteArray index;

    Database& add(const QByteArray& headword, const QByteArray& body)
    {
        index += headword + '\t' + encodeNumber(data.size()) + '\t' + encodeNumber(body.size()) + '\n';
        data += body;
        return *this;
    }
};

void le16(QByteArray& bytes, int value)
{
    bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}

void le32(QByteArray& bytes, quint32 value)
{
    le16(bytes, int(value & 0xFFFF));
    le16(bytes, int(value >> 16));
}

// The dictzip form of the pieces: raw deflate flushed fully after every piece, one chunk each, the chunk sizes in
// the gzip extra field. A sound file has every piece but the last chunkLength long; tests damage it with others.
QByteArray dictzipOfPieces(const QList<QByteArray>& pieces, int chunkLength)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QList<QByteArray> chunks;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QByteArray& piece = pieces[i];
        QByteArray out(int(deflateBound(&stream, uLong(piece.size()))) + 64, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
        stream.avail_in = uInt(piece.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, i + 1 == pieces.size() ? Z_FINISH : Z_FULL_FLUSH);
        out.truncate(out.size() - stream.avail_out);
        chunks.append(out);
    }
    deflateEnd(&stream);
    const QByteArray text = pieces.join();
    QByteArray file("\x1F\x8B\x08\x04\0\0\0\0\0\x03", 10);
    le16(file, 4 + 6 + 2 * int(chunks.size()));
    file += "RA";
    le16(file, 6 + 2 * int(chunks.size()));
    le16(file, 1);
    le16(file, chunkLength);
    le16(file, int(chunks.size()));
    for (const QByteArray& chunk : chunks)
        le16(file, int(chunk.size()));
    for (const QByteArray& chunk : chunks)
        file += chunk;
    le32(file, quint32(crc32(0, reinterpret_cast<const Bytef*>(text.constData()), uInt(text.size()))));
    le32(file, quint32(text.size()));
    return file;
}

QList<QByteArray> piecesOf(const QByteArray& text, int length)
{
    QList<QByteArray> pieces;
    for (qsizetype at = 0; at < text.size(); at += length)
        pieces.append(text.mid(at, length));
    return pieces;
}

QByteArray dictzip(const QByteArray& text, int chunkLength)
{
    return dictzipOfPieces(piecesOf(text, chunkLength), chunkLength);
}

enum class DataForm { Plain, Gzip, Dictzip };

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void writeDatabase(const QString& directory, const QString& stem, const Database& database, DataForm form)
{
    QDir().mkpath(directory);
    writeFile(directory + QLatin1Char('/') + stem + QStringLiteral(".index"), database.index);
    const QString data = directory + QLatin1Char('/') + stem;
    switch (form) {
    case DataForm::Plain:
        writeFile(data + QStringLiteral(".dict"), database.data);
        break;
    case DataForm::Gzip:
        writeFile(data + QStringLiteral(".dict.dz"), *dataAdditions::gzippedData(database.data));
        break;
    case DataForm::Dictzip:
        // Chunks far shorter than a definition, so that records span several of them.
        writeFile(data + QStringLiteral(".dict.dz"), dictzip(database.data, 16));
        break;
    }
}

Database tinyDatabase()
{
    Database database;
    database.add("00-database-short", "00-database-short\n     Tiny Test Dictionary\n")
        .add("apple", "apple\n   A round fruit of the rose family.\n")
        .add("ice", "ice\n   Frozen water.\n")
        .add("apple", "Apple\n   2. A shade of green.\n")
        .add("ice cream", "ice cream\n   A frozen dessert.\n")
        .add("pie", "pie\n   A <crust> & a filling.\n");
    return database;
}

// Text that deflate shrinks only by about half, so that the compressed file has a size worth measuring.
QByteArray noise(qsizetype size, quint32& seed)
{
    static const char letters[] = "abcdefghijklmnop ";
    QByteArray text(size, Qt::Uninitialized);
    for (char& c : text) {
        seed = seed * 1664525u + 1013904223u;
        c = letters[(seed >> 24) % (sizeof(letters) - 1)];
    }
    return text;
}

// What this process has read through system calls so far, from any file.
qint64 bytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    qint64 value = 0;
    while (io >> key >> value) {
        if (key == "rchar:")
            return value;
    }
    return -1;
}

// Points the XDG data directories at a temporary folder for one test and puts them back after.
class DictionaryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(root.isValid());
        previous = qgetenv("XDG_DATA_DIRS");
        qputenv("XDG_DATA_DIRS", root.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_DATA_DIRS", previous); }

    QString dictd() const { return root.filePath(QStringLiteral("dictd")); }

    QTemporaryDir root;
    QByteArray previous;
};

class DictionaryFormTest : public DictionaryTest, public ::testing::WithParamInterface<DataForm> {};

TEST_P(DictionaryFormTest, FindsEveryRecordOfTheTermInIndexOrder)
{
    writeDatabase(dictd(), QStringLiteral("tiny"), tinyDatabase(), GetParam());
    const QList<std::shared_ptr<PTDCDictionary>> all = PTDCDictionary::availableDictionaries();
    ASSERT_EQ(all.size(), 1);
    const std::shared_ptr<PTDCDictionary> tiny = all.first();
    EXPECT_EQ(tiny->name(), QStringLiteral("Tiny Test Dictionary"));
    EXPECT_EQ(tiny->shortName(), QStringLiteral("tiny"));
    EXPECT_EQ(PTDCDictionary::dictionaryNamed(QStringLiteral("Tiny Test Dictionary")), tiny);
    EXPECT_EQ(PTDCDictionary::dictionaryNamed(QStringLiteral("tiny")), nullptr);

    const struct {
        QString text;
        QStringList headwords; // empty: no entries
    } cases[] = {
        {QStringLiteral("apple"), {QStringLiteral("apple"), QStringLiteral("apple")}},
        {QStringLiteral("  APPLE, please"), {QStringLiteral("apple"), QStringLiteral("apple")}},
        {QStringLiteral("ice cream cone"), {QStringLiteral("ice cream")}},
        {QStringLiteral("Ice\tcream"), {QStringLiteral("ice cream")}},
        {QStringLiteral("ice cubes"), {QStringLiteral("ice")}},
        {QStringLiteral("banana"), {}},
    };
    for (const auto& c : cases) {
        const std::optional<QList<PTDCDictionaryEntry>> entries = tiny->entriesForSearchTerm(c.text);
        ASSERT_TRUE(entries.has_value()) << c.text.toStdString();
        QStringList headwords;
        for (const PTDCDictionaryEntry& entry : *entries)
            headwords << entry.headword();
        EXPECT_EQ(headwords, c.headwords) << c.text.toStdString();
    }
    const QList<PTDCDictionaryEntry> apples = *tiny->entriesForSearchTerm(QStringLiteral("apple"));
    EXPECT_EQ(apples[0].text(), QStringLiteral("apple\n   A round fruit of the rose family."));
    EXPECT_EQ(apples[1].text(), QStringLiteral("Apple\n   2. A shade of green."));
    const QList<PTDCDictionaryEntry> pies = *tiny->entriesForSearchTerm(QStringLiteral("pie"));
    ASSERT_EQ(pies.size(), 1);
    EXPECT_EQ(pies[0].HTML(), QStringLiteral("<pre>pie\n   A &lt;crust&gt; &amp; a filling.</pre>"));

    // A text with no word in it holds no term at all.
    for (const QString& text : {QString(), QStringLiteral("   "), QStringLiteral(" ... !? ")})
        EXPECT_FALSE(tiny->entriesForSearchTerm(text).has_value()) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(DataForms, DictionaryFormTest,
                         ::testing::Values(DataForm::Plain, DataForm::Gzip, DataForm::Dictzip));

TEST_F(DictionaryTest, NoDatabasesMeansNoDictionaries)
{
    EXPECT_TRUE(PTDCDictionary::availableDictionaries().isEmpty());
    EXPECT_EQ(PTDCDictionary::dictionaryNamed(QStringLiteral("tiny")), nullptr);
    // An index without its data file is no dictionary either.
    QDir().mkpath(dictd());
    writeFile(dictd() + QStringLiteral("/lonely.index"), "word\tA\tB\n");
    EXPECT_TRUE(PTDCDictionary::availableDictionaries().isEmpty());
}

TEST_F(DictionaryTest, NameFallsBackToTheStemAndTheLaterOfTwoNamesWins)
{
    Database unnamed;
    unnamed.add("apple", "apple\n   A fruit.\n");
    writeDatabase(dictd(), QStringLiteral("alpha"), unnamed, DataForm::Plain);
    writeDatabase(dictd(), QStringLiteral("beta"), tinyDatabase(), DataForm::Plain);
    writeDatabase(dictd(), QStringLiteral("gamma"), tinyDatabase(), DataForm::Dictzip);
    ASSERT_EQ(PTDCDictionary::availableDictionaries().size(), 3);
    const std::shared_ptr<PTDCDictionary> alpha = PTDCDictionary::dictionaryNamed(QStringLiteral("alpha"));
    ASSERT_NE(alpha, nullptr);
    EXPECT_EQ(alpha->shortName(), QStringLiteral("alpha"));
    const std::shared_ptr<PTDCDictionary> named = PTDCDictionary::dictionaryNamed(QStringLiteral("Tiny Test Dictionary"));
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->shortName(), QStringLiteral("gamma"));
}

TEST_F(DictionaryTest, MalformedIndexLinesAndRangesPastTheDataAreRefused)
{
    const QByteArray data = "good\n   Sound.\n";
    const QByteArray index = "good\tA\tP\n"         // offset 0, length 15
                             "nofields\n"
                             "twofields\tA\n"
                             "baddigit\tA*\tP\n"
                             "five\tA\tP\tfive\textra\n"
                             "\tA\tP\n"              // no headword
                             "huge\tA\t////////\n"   // a length no record has
                             "past\tP\tB\n"          // starts at the end of the data
                             "over\tA\tQ\n"          // one byte longer than the data
                             "far\t//////\tB\n";     // far past the end
    for (const DataForm form : {DataForm::Plain, DataForm::Gzip, DataForm::Dictzip}) {
        QTemporaryDir folder;
        qputenv("XDG_DATA_DIRS", folder.path().toUtf8());
        writeDatabase(folder.filePath(QStringLiteral("dictd")), QStringLiteral("rough"), Database{data, index}, form);
        const std::shared_ptr<PTDCDictionary> rough = PTDCDictionary::dictionaryNamed(QStringLiteral("rough"));
        ASSERT_NE(rough, nullptr) << int(form);
        EXPECT_EQ(rough->entriesForSearchTerm(QStringLiteral("good"))->size(), 1) << int(form);
        for (const char* word : {"nofields", "twofields", "baddigit", "five", "huge", "past", "over", "far"})
            EXPECT_TRUE(rough->entriesForSearchTerm(QString::fromLatin1(word))->isEmpty()) << word << int(form);
    }
}

TEST_F(DictionaryTest, DamagedCompressedDataIsNoDictionaryOrNoEntry)
{
    Database database;
    database.add("apple", "apple\n   A round fruit of the rose family, and more words to span chunks.\n");
    const QByteArray sound = dictzip(database.data, 16);
    struct Damage {
        const char* what;
        QByteArray bytes;
        bool listed;
    };
    QByteArray countTooLarge = sound;
    countTooLarge[10 + 2 + 4 + 4] = char(0x7F); // the chunk count claims more sizes than the field holds
    QByteArray chunksPastEnd = sound.left(sound.size() - 20);
    QByteArray corruptChunk = sound;
    for (qsizetype i = sound.size() - 30; i < sound.size() - 8; ++i)
        corruptChunk[i] = char(0xFF);
    const Damage cases[] = {
        {"not gzip", QByteArray("plain text, not gzip"), false},
        {"chunk count past the field", countTooLarge, false},
        {"chunks past the end of the file", chunksPastEnd, false},
        {"corrupt last chunk", corruptChunk, true},
    };
    for (const Damage& damage : cases) {
        QTemporaryDir folder;
        qputenv("XDG_DATA_DIRS", folder.path().toUtf8());
        const QString directory = folder.filePath(QStringLiteral("dictd"));
        QDir().mkpath(directory);
        writeFile(directory + QStringLiteral("/hurt.index"), database.index);
        writeFile(directory + QStringLiteral("/hurt.dict.dz"), damage.bytes);
        const std::shared_ptr<PTDCDictionary> hurt = PTDCDictionary::dictionaryNamed(QStringLiteral("hurt"));
        ASSERT_EQ(hurt != nullptr, damage.listed) << damage.what;
        if (hurt) {
            EXPECT_TRUE(hurt->entriesForSearchTerm(QStringLiteral("apple"))->isEmpty()) << damage.what;
        }
    }
}

// Chunks are found by their place in the text, so one in the middle that inflates to another length would shift
// every later byte: a look-up that needs such a chunk finds nothing rather than other text.
TEST_F(DictionaryTest, AChunkOfAnotherLengthFailsTheLookUpsThatNeedItAndNoOthers)
{
    constexpr int chunkLength = 16;
    const QList<std::pair<QByteArray, QByteArray>> definitions = {
        {"alpha", "alpha\n   The first letter of all.\n"},
        {"beta", "beta\n   The second letter.\n"},
        {"gamma", "gamma\n   The third, a hook.\n"},
        {"delta", "delta\n   The fourth, a river mouth.\n"},
    };
    Database database;
    for (const auto& [headword, body] : definitions)
        database.add(headword, body);
    const struct {
        const char* what;
        qsizetype chunk;
        QByteArray (*damage)(const QByteArray&);
    } cases[] = {
        {"a middle chunk one byte short", 2, [](const QByteArray& piece) { return piece.chopped(1); }},
        {"a middle chunk empty", 3, [](const QByteArray&) { return QByteArray(); }},
        {"the first chunk short", 0, [](const QByteArray& piece) { return piece.left(5); }},
        {"a middle chunk one byte long", 4, [](const QByteArray& piece) { return piece + 'x'; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QList<QByteArray> pieces = piecesOf(database.data, chunkLength);
        ASSERT_LT(c.chunk + 1, pieces.size());
        pieces[c.chunk] = c.damage(pieces[c.chunk]);
        QTemporaryDir folder;
        writeFile(folder.filePath(QStringLiteral("hurt.index")), database.index);
        writeFile(folder.filePath(QStringLiteral("hurt.dict.dz")), dictzipOfPieces(pieces, chunkLength));
        const std::shared_ptr<PTDCDictionary> hurt =
            PTDCDictionary::fromIndexFile(folder.filePath(QStringLiteral("hurt.index")));
        ASSERT_NE(hurt, nullptr);
        qsizetype offset = 0;
        for (const auto& [headword, body] : definitions) {
            const bool needsDamaged =
                offset / chunkLength <= c.chunk && c.chunk <= (offset + body.size() - 1) / chunkLength;
            const std::optional<QList<PTDCDictionaryEntry>> entries =
                hurt->entriesForSearchTerm(QString::fromLatin1(headword));
            ASSERT_TRUE(entries.has_value());
            QStringList texts;
            for (const PTDCDictionaryEntry& entry : *entries)
                texts << entry.text();
            const QStringList genuine{QString::fromLatin1(body).trimmed()};
            EXPECT_EQ(texts, needsDamaged ? QStringList() : genuine) << headword.constData();
            offset += body.size();
        }
    }
}

// A gzip file without a chunk table has to be inflated from its start: a look-up, or the naming of the dictionary,
// does that once whatever the number of records, so the bytes it reads stay near the size of the file.
TEST_F(DictionaryTest, GzipWithoutAChunkTableIsInflatedOncePerLookUp)
{
    constexpr int records = 200;
    Database database;
    // Descriptions of nothing but their headword, which the naming passes over to the last.
    for (int i = 0; i < records; ++i)
        database.add("00-database-short", "00-database-short\n");
    database.add("00-database-short", "00-database-short\n   Big Test Dictionary\n");
    quint32 seed = 1;
    for (int i = 0; i < records; ++i) {
        database.add("filler", noise(4096, seed));
        database.add("word", "word\n   Sense " + QByteArray::number(i) + ".\n");
    }
    writeDatabase(dictd(), QStringLiteral("big"), database, DataForm::Gzip);
    const qint64 compressed = QFileInfo(dictd() + QStringLiteral("/big.dict.dz")).size();
    // Once through the file with its header and index, and room to spare; once per record is 200 times the file.
    const qint64 bound = 2 * compressed + (qint64(256) << 10);

    const qint64 beforeNaming = bytesRead();
    const std::shared_ptr<PTDCDictionary> big = PTDCDictionary::fromIndexFile(dictd() + QStringLiteral("/big.index"));
    EXPECT_LT(bytesRead() - beforeNaming, bound) << "compressed: " << compressed;
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big->name(), QStringLiteral("Big Test Dictionary"));

    const qint64 beforeLookUp = bytesRead();
    const std::optional<QList<PTDCDictionaryEntry>> words = big->entriesForSearchTerm(QStringLiteral("word"));
    EXPECT_LT(bytesRead() - beforeLookUp, bound) << "compressed: " << compressed;
    ASSERT_TRUE(words.has_value());
    ASSERT_EQ(words->size(), records);
    for (int i = 0; i < records; ++i)
        EXPECT_EQ((*words)[i].text(), QStringLiteral("word\n   Sense %1.").arg(i));
}

// A line is split into no more fields than a record has: one line of millions of fields must not become millions
// of strings. Each index holds 48 MiB, read in a child that may map 256 MiB more than the test executable.
TEST_F(DictionaryTest, AnIndexLineOfMillionsOfFieldsIsSkippedInBoundedMemory)
{
    const qsizetype size = qsizetype(48) << 20;
    const struct {
        const char* what;
        QByteArray prefix;
        QByteArray repeated;
    } cases[] = {
        {"empty fields between two words", "a", "\t"},
        {"one-letter fields", "x", "\tx"},
        {"a record with fields too many", "bad\tA\tP\tbad", "\tx"},
    };
    QDir().mkpath(dictd());
    writeFile(dictd() + QStringLiteral("/wide.dict"), "good\n   Sound.\n");
    const QString indexPath = dictd() + QStringLiteral("/wide.index");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // The line ends in a word, so that trimming it keeps every tab.
        writeFile(indexPath, "good\tA\tP\n" + c.prefix + c.repeated.repeated(size / c.repeated.size()) +
                                 "\tz\nalso\tA\tP\n");
        const int result = pt::test::runInBoundedChild(qint64(256) << 20, 60, [&] {
            const std::shared_ptr<PTDCDictionary> wide = PTDCDictionary::fromIndexFile(indexPath);
            if (!wide)
                return 1;
            const bool sound = wide->entriesForSearchTerm(QStringLiteral("good"))->size() == 1 &&
                               wide->entriesForSearchTerm(QStringLiteral("also"))->size() == 1 &&
                               wide->entriesForSearchTerm(QStringLiteral("bad"))->isEmpty();
            return sound ? 0 : 2;
        });
        EXPECT_EQ(result, 0);
    }
}

// A dictionary's files may be links that a user or a package made, to regular files only: a link to a pipe must
// not block, and one to a device must not be read without end. Each case runs in a child killed if it hangs.
TEST_F(DictionaryTest, IndexAndDataAreReadOnlyFromRegularFiles)
{
    QTemporaryDir elsewhere;
    const QString real = elsewhere.filePath(QStringLiteral("tiny"));
    writeDatabase(elsewhere.path(), QStringLiteral("tiny"), tinyDatabase(), DataForm::Plain);
    writeFile(real + QStringLiteral(".dict.dz"), dictzip(tinyDatabase().data, 16));
    const QString pipe = elsewhere.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString zero = QStringLiteral("/dev/zero");
    const QString index = real + QStringLiteral(".index");
    const QString plain = real + QStringLiteral(".dict");
    const QString dictzipped = real + QStringLiteral(".dict.dz");

    const struct {
        const char* what;
        QString indexTarget;
        QString dataSuffix;
        QString dataTarget;
        bool opens;
    } cases[] = {
        {"links to regular files", index, QStringLiteral(".dict"), plain, true},
        {"a link to a regular dictzip file", index, QStringLiteral(".dict.dz"), dictzipped, true},
        {"index linked to a pipe", pipe, QStringLiteral(".dict"), plain, false},
        {"index linked to a device", zero, QStringLiteral(".dict"), plain, false},
        {"data linked to a pipe", index, QStringLiteral(".dict"), pipe, false},
        {"data linked to a device", index, QStringLiteral(".dict"), zero, false},
        {"dictzip data linked to a pipe", index, QStringLiteral(".dict.dz"), pipe, false},
        {"dictzip data linked to a device", index, QStringLiteral(".dict.dz"), zero, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir folder;
        const QString stem = folder.filePath(QStringLiteral("linked"));
        const QString data = stem + c.dataSuffix;
        ASSERT_TRUE(QFile::link(c.indexTarget, stem + QStringLiteral(".index")));
        ASSERT_TRUE(QFile::link(c.dataTarget, data));
        const int result = pt::test::runInBoundedChild(qint64(256) << 20, 5, [&] {
            const std::shared_ptr<PTDCDictionary> linked =
                PTDCDictionary::fromIndexFile(stem + QStringLiteral(".index"));
            if (!c.opens)
                return linked ? 1 : 0;
            if (!linked || linked->entriesForSearchTerm(QStringLiteral("apple"))->size() != 2)
                return 2;
            // The data file is opened again for each look-up, and checked again.
            if (!QFile::remove(data) || !QFile::link(pipe, data))
                return 3;
            return linked->entriesForSearchTerm(QStringLiteral("apple"))->isEmpty() ? 0 : 4;
        });
        EXPECT_EQ(result, 0);
    }
}

} // namespace
