#include "TestSupport.h"

#include "browser/dictionary/PTDCDictionary.h"
#include "foundation/DataAdditions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zlib.h>

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

// The dictzip form of the text: raw deflate flushed fully at every chunk, the chunk sizes in the gzip extra field.
QByteArray dictzip(const QByteArray& text, int chunkLength)
{
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QList<QByteArray> chunks;
    for (qsizetype at = 0; at < text.size(); at += chunkLength) {
        const QByteArray piece = text.mid(at, chunkLength);
        QByteArray out(int(deflateBound(&stream, uLong(piece.size()))) + 64, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
        stream.avail_in = uInt(piece.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, at + chunkLength >= text.size() ? Z_FINISH : Z_FULL_FLUSH);
        out.truncate(out.size() - stream.avail_out);
        chunks.append(out);
    }
    deflateEnd(&stream);
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

} // namespace
