#include "foundation/DataAdditions.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace dataAdditions;

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(generator.bounded(256));
    return bytes;
}

QByteArray runTool(const QStringList& command, const QByteArray& input)
{
    QProcess process;
    process.start(command.first(), command.mid(1));
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

} // namespace

TEST(Gzip, RoundTripsAcrossBufferBoundaries)
{
    for (qsizetype size : {1, 16383, 16384, 16385, 1 << 20}) {
        const QByteArray data = randomBytes(size);
        for (float level : {-1.0f, 0.0f, 0.5f, 1.0f}) {
            const auto packed = gzippedDataWithCompressionLevel(data, level);
            ASSERT_TRUE(packed.ok());
            EXPECT_TRUE(isGzippedData(*packed));
            const auto unpacked = gunzippedData(*packed);
            ASSERT_TRUE(unpacked.ok()) << size;
            EXPECT_EQ(*unpacked, data) << size << " at level " << level;
        }
    }
    const QByteArray zeros(10 << 20, '\0');
    const auto packed = gzippedData(zeros);
    ASSERT_TRUE(packed.ok());
    EXPECT_LT(packed->size(), 100000);
    EXPECT_EQ(gunzippedData(*packed).value(), zeros);
}

TEST(Gzip, PassThroughAndRefusals)
{
    const QByteArray empty;
    EXPECT_EQ(gzippedData(empty).value(), empty);
    const QByteArray already = gzippedData("abc").value();
    EXPECT_EQ(gzippedData(already).value(), already) << "no double compression";
    EXPECT_EQ(gunzippedData("{\"plain\": 1}").value(), QByteArray("{\"plain\": 1}"));
    EXPECT_EQ(gunzippedData(QByteArray(1, '\x1F')).value(), QByteArray(1, '\x1F'));
    EXPECT_FALSE(isGzippedData(QByteArray(1, '\x1F')));

    const auto tooStrong = gzippedDataWithCompressionLevel("abc", 1.5f);
    ASSERT_FALSE(tooStrong.ok());
    EXPECT_EQ(tooStrong.error().code, GzipStreamSetupFailed);
}

TEST(Gzip, InteroperatesWithTheGzipTool)
{
    const QByteArray data = randomBytes(300000) + QByteArray(200000, 'x');
    EXPECT_EQ(runTool({"gzip", "-dc"}, gzippedDataWithCompressionLevel(data, 1.0f).value()), data);
    const QByteArray fromTool = runTool({"gzip", "-9", "-c"}, data);
    EXPECT_EQ(gunzippedData(fromTool).value(), data);
    // gzip reads concatenated members as one file, so do we.
    const QByteArray twoMembers = runTool({"gzip", "-c"}, "first ") + runTool({"gzip", "-c"}, "second");
    EXPECT_EQ(gunzippedData(twoMembers).value(), QByteArray("first second"));
}

TEST(Gzip, CorruptTruncatedAndOversizedStreamsAreErrors)
{
    const QByteArray data = randomBytes(50000);
    const QByteArray packed = gzippedData(data).value();

    const auto truncated = gunzippedData(packed.left(packed.size() / 2));
    ASSERT_FALSE(truncated.ok()) << "never the inflated part padded with zeros";
    EXPECT_EQ(truncated.error().code, GzipCorruptData);

    QByteArray badCrc = packed;
    badCrc[badCrc.size() - 6] = char(badCrc.at(badCrc.size() - 6) ^ 0x55);
    EXPECT_EQ(gunzippedData(badCrc).error().code, GzipCorruptData);

    QByteArray badBody = packed;
    badBody[packed.size() / 2] = char(badBody.at(packed.size() / 2) ^ 0xFF);
    EXPECT_FALSE(gunzippedData(badBody).ok());

    EXPECT_FALSE(gunzippedData(packed.left(packed.size() - 1)).ok()) << "trailer cut by one byte";

    // 300 MiB of zeros packs into a few hundred KB and must be refused past the 256 MiB limit.
    const QByteArray bomb = gzippedDataWithCompressionLevel(QByteArray(300 << 20, '\0'), 1.0f).value();
    EXPECT_LT(bomb.size(), 1 << 20);
    const auto refused = gunzippedData(bomb);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, GzipOutputTooLarge);
    EXPECT_EQ(gunzippedData(packed, 1000).error().code, GzipOutputTooLarge);
    EXPECT_EQ(gunzippedData(packed, data.size()).value(), data) << "exactly at the limit is fine";
}
