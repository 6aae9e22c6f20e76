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
