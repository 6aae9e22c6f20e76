#include "platform/plist/PropertyList.h"

#include "TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using pt::PropertyList;

namespace {

QVariantMap sample()
{
    return {
        {"version", 0.3},
        {"count", qint64(42)},
        {"negative", qint64(-7)},
        {"flag", true},
        {"name", QString("Pictern \u00e9\u4e2d")},
        {"builddate", QDateTime(QDate(2026, 12, 10), QTime(13, 19, 17), Qt::UTC)},
        {"old", QDateTime(QDate(1999, 3, 1), QTime(0, 0), Qt::UTC)},
        {"data", QByteArray("\x00\x01\xfe", 3)},
        {"list", QVariantList{qint64(1), QString("two"), QVariantMap{{"k", false}}}},
        {"empty", QVariantMap{}},
    };
}

} // namespace

TEST(PropertyList, RoundTripsEveryTypeInBothFormats)
{
    for (auto format : {PropertyList::Format::Xml, PropertyList::Format::Binary}) {
        const auto data = PropertyList::toData(sample(), format);
        ASSERT_TRUE(data.ok());
        const auto back = PropertyList::fromData(*data);
        ASSERT_TRUE(back.ok()) << back.error().toString().toStdString();
        EXPECT_EQ(back->toMap(), sample());
    }
}

TEST(PropertyList, RefusesWhatIsNotAWholeList)
{
    const auto xml = PropertyList::toData(sample()).value();
    const auto binary = PropertyList::toData(sample(), PropertyList::Format::Binary).value();
    const std::vector<QByteArray> bad{
        QByteArray(),
        QByteArray("not a plist at all"),
        xml.left(xml.size() / 2),
        binary.left(binary.size() - 20),
    };
    for (const QByteArray& data : bad)
        EXPECT_FALSE(PropertyList::fromData(data).ok()) << data.left(40).toStdString();
    EXPECT_FALSE(PropertyList::toData(QVariant()).ok());
    EXPECT_FALSE(PropertyList::fromFile("/nonexistent/META").ok());
}

TEST(PropertyList, WriteFileReplacesWholeAndIsReadableByPlistutil)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("META");
    ASSERT_TRUE(PropertyList::writeFile(QVariantMap{{"version", 0.1}}, path).ok());
    ASSERT_TRUE(PropertyList::writeFile(sample(), path).ok());
    EXPECT_EQ(PropertyList::fromFile(path)->toMap(), sample());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";

    // An independent reader converts it to binary, and we read that back.
    const QString binary = dir.filePath("META.bin");
    ASSERT_EQ(QProcess::execute("plistutil", {"-i", path, "-o", binary, "-f", "bin"}), 0);
    EXPECT_EQ(PropertyList::fromFile(binary)->toMap(), sample());
}

namespace {

QByteArray bigEndian(quint64 value, int width)
{
    QByteArray bytes(width, '\0');
    for (int i = width - 1; i >= 0; --i, value >>= 8)
        bytes[i] = char(value & 0xff);
    return bytes;
}

// A reference to object `index` in the binary lists below, which use four-byte references and offsets.
QByteArray ref(quint64 index)
{
    return bigEndian(index, 4);
}

QByteArray binaryList(const QList<QByteArray>& objects, quint64 top, quint64 objectCount)
{
    QByteArray data("bplist00");
    QByteArray offsets;
    for (const QByteArray& object : objects) {
        offsets += bigEndian(quint64(data.size()), 4);
        data += object;
    }
    const quint64 tableOffset = quint64(data.size());
    return data + offsets + QByteArray(6, '\0') + char(4) + char(4) + bigEndian(objectCount, 8)
           + bigEndian(top, 8) + bigEndian(tableOffset, 8);
}

QByteArray binaryList(const QList<QByteArray>& objects, quint64 top = 0)
{
    return binaryList(objects, top, quint64(objects.size()));
}

// `depth` arrays (or dictionaries under the key "k") inside each other around the string "x".
QByteArray nestedBinary(int depth, bool dictionaries)
{
    QList<QByteArray> objects;
    objects.reserve(depth + 2);
    for (int i = 0; i < depth; ++i)
        objects.append(dictionaries ? QByteArray("\xd1") + ref(depth + 1) + ref(i + 1) : QByteArray("\xa1") + ref(i + 1));
    objects.append("\x51x");
    objects.append("\x51k");
    return binaryList(objects);
}

// `levels` arrays, each holding the next one twice, around the string "x": a few bytes per level that a reader
// copying every reference expands into 2^(levels + 1) - 1 values.
QByteArray sharedLevels(int levels)
{
    QList<QByteArray> objects;
    for (int i = 0; i < levels; ++i)
        objects.append(QByteArray("\xa2") + ref(i + 1) + ref(i + 1));
    objects.append("\x51x");
    return binaryList(objects);
}

QByteArray nestedXml(int depth, bool dictionaries)
{
    const QByteArray open = dictionaries ? "<dict><key>k</key>" : "<array>";
    const QByteArray close = dictionaries ? "</dict>" : "</array>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">" + open.repeated(depth)
           + "<string>x</string>" + close.repeated(depth) + "</plist>\n";
}

// How many containers the value nests before reaching the string "x"; -1 if it is not shaped so.
int nesting(QVariant value)
{
    for (int depth = 0;; ++depth) {
        if (value.typeId() == QMetaType::QString)
            return value.toString() == "x" ? depth : -1;
        if (value.typeId() == QMetaType::QVariantList && value.toList().size() == 1)
            value = value.toList().first();
        else if (value.typeId() == QMetaType::QVariantMap && value.toMap().size() == 1)
            value = value.toMap().value("k");
        else
            return -1;
    }
}

} // namespace

TEST(PropertyList, NestingIsBoundedInBothFormats)
{
    constexpr int limit = PropertyList::MaximumDepth;
    struct Case {
        const char* name;
        QByteArray data;
        int depth; // -1: refused
    };
    const Case cases[] = {
        {"binary arrays at the limit", nestedBinary(limit, false), limit},
        {"binary dictionaries at the limit", nestedBinary(limit, true), limit},
        {"xml arrays at the limit", nestedXml(limit, false), limit},
        {"xml dictionaries at the limit", nestedXml(limit, true), limit},
        {"binary arrays past the limit", nestedBinary(limit + 1, false), -1},
        {"binary dictionaries past the limit", nestedBinary(limit + 1, true), -1},
        {"xml arrays past the limit", nestedXml(limit + 1, false), -1},
        {"xml dictionaries past the limit", nestedXml(limit + 1, true), -1},
        {"binary arrays 50000 deep", nestedBinary(50000, false), -1},
        {"binary dictionaries 50000 deep", nestedBinary(50000, true), -1},
        {"xml arrays 50000 deep", nestedXml(50000, false), -1},
        {"xml dictionaries 50000 deep", nestedXml(50000, true), -1},
        // Deep enough that the parser itself would run out of stack, not only the conversion after it.
        {"binary arrays 200000 deep", nestedBinary(200000, false), -1},
    };
    for (const Case& c : cases) {
        const auto read = PropertyList::fromData(c.data);
        if (c.depth < 0) {
            EXPECT_FALSE(read.ok()) << c.name;
            continue;
        }
        ASSERT_TRUE(read.ok()) << c.name << ": " << read.error().toString().toStdString();
        EXPECT_EQ(nesting(*read), c.depth) << c.name;
    }
}

TEST(PropertyList, ListsTheWriterMakesPassTheNestingCheck)
{
    // Control characters and noncharacters are written into XML as they are; long lists take wider counts and
    // references in binary.
    QVariantList many;
    for (int i = 0; i < 300; ++i)
        many.append(QVariantMap{{"n", qint64(i)}});
    const QVariantMap value{{"k\x02", QString("a\x01" "b\x1f\uFFFE")}, {"many", many}};
    for (auto format : {PropertyList::Format::Xml, PropertyList::Format::Binary}) {
        const auto read = PropertyList::fromData(PropertyList::toData(value, format).value());
        ASSERT_TRUE(read.ok()) << read.error().toString().toStdString();
        EXPECT_EQ(read->toMap(), value);
    }
    const auto indented = PropertyList::fromData("\n  " + PropertyList::toData(value).value());
    ASSERT_TRUE(indented.ok()) << indented.error().toString().toStdString();
    EXPECT_EQ(indented->toMap(), value);
}

TEST(PropertyList, BinaryReferencesOutsideTheTableOrInCyclesAreRefused)
{
    const struct {
        const char* name;
        QByteArray data;
    } cases[] = {
        {"array holding itself", binaryList({QByteArray("\xa1") + ref(0)})},
        {"two arrays holding each other", binaryList({QByteArray("\xa1") + ref(1), QByteArray("\xa1") + ref(0)})},
        {"dictionary holding itself", binaryList({QByteArray("\xd1") + ref(1) + ref(0), "\x51k"})},
        {"member out of range", binaryList({QByteArray("\xa2") + ref(1) + ref(7), "\x51x"})},
        {"key out of range", binaryList({QByteArray("\xd1") + ref(9) + ref(1), "\x51x"})},
        {"top object out of range", binaryList({"\x51x"}, 3)},
        {"offset table past the end", binaryList({"\x51x"}, 0, 1000)},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(PropertyList::fromData(c.data).ok()) << c.name;

    // The same shapes without the fault read, so the refusals above are not the lists' form.
    const auto shared = PropertyList::fromData(binaryList({QByteArray("\xa2") + ref(1) + ref(1), "\x51x"}));
    ASSERT_TRUE(shared.ok()) << shared.error().toString().toStdString();
    EXPECT_EQ(shared->toList(), (QVariantList{"x", "x"}));
}

TEST(PropertyList, BinaryListsThatExpandBeyondTheCapAreRefused)
{
    const struct {
        int levels;
        bool reads;
    } cases[] = {
        {18, true}, // 524287 values
        {19, false}, // 1048575 values, just past the cap
        {30, false}, // 2^31 - 1 values from a few hundred bytes
    };
    for (const auto& c : cases) {
        const auto read = PropertyList::fromData(sharedLevels(c.levels));
        EXPECT_EQ(read.ok(), c.reads) << c.levels << " levels";
        if (!read.ok())
            continue;
        QVariant value = *read;
        int depth = 0;
        for (; value.typeId() == QMetaType::QVariantList; ++depth) {
            ASSERT_EQ(value.toList().size(), 2);
            value = value.toList().last();
        }
        EXPECT_EQ(depth, c.levels);
        EXPECT_EQ(value.toString(), "x");
    }
}

TEST(PropertyList, ValuesTooDeepToReadBackAreNotWritten)
{
    QVariant value = QString("x");
    for (int i = 0; i < PropertyList::MaximumDepth; ++i)
        value = QVariantList{value};
    for (auto format : {PropertyList::Format::Xml, PropertyList::Format::Binary}) {
        const auto data = PropertyList::toData(value, format);
        ASSERT_TRUE(data.ok());
        EXPECT_EQ(nesting(PropertyList::fromData(*data).value()), PropertyList::MaximumDepth);
        EXPECT_FALSE(PropertyList::toData(QVariantMap{{"k", value}}, format).ok());
    }
}
