#include "transfer/import/PTImportMapper.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <zlib.h>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray gzipped(const QByteArray& data)
{
    z_stream stream{};
    deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(int(deflateBound(&stream, uLong(data.size()))) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(qsizetype(stream.total_out));
    deflateEnd(&stream);
    return out;
}

const QByteArray Mapping = R"({"expressions": ["^my", "(["],
                               "icons": {"E001": {"name": "Home", "tags": "house building"},
                                         "e002": {"name": ""}}, "other": 1})";

} // namespace

TEST(ImportMapper, LookupAndCompressedEqualsPlain)
{
    QTemporaryDir dir;
    write(dir.filePath("plain.ptmap"), Mapping);
    write(dir.filePath("packed.ptmap"), gzipped(Mapping));
    for (const QString& name : {"plain.ptmap", "packed.ptmap"}) {
        const PTImportMapper mapper(dir.filePath(name));
        EXPECT_EQ(mapper.metaForUnicode("e001").value("name").toString(), "Home") << name.toStdString();
        EXPECT_EQ(mapper.metaForUnicode("E001").value("tags").toString(), "house building");
        EXPECT_TRUE(mapper.metaForUnicode("e002").value("name").toString().isEmpty());
        EXPECT_TRUE(mapper.metaForUnicode("f000").isEmpty());
        // The pattern that does not compile is left out.
        EXPECT_EQ(mapper.expressions().size(), 1);
        EXPECT_TRUE(mapper.matchesURL("/fonts/MyFont.otf"));
        EXPECT_TRUE(mapper.matchesURL("/fonts/my-other.ttf"));
        EXPECT_FALSE(mapper.matchesURL("/my/OtherFont.ttf"));
    }
}

TEST(ImportMapper, CorruptInputGivesAnEmptyMapper)
{
    QTemporaryDir dir;
    QByteArray truncatedGzip = gzipped(Mapping);
    truncatedGzip.chop(12);
    const std::vector<QByteArray> inputs{"", "{not json", "[1, 2]", truncatedGzip,
                                         R"({"expressions": "^my", "icons": ["e001"]})"};
    for (const QByteArray& input : inputs) {
        write(dir.filePath("bad.ptmap"), input);
        const PTImportMapper mapper(dir.filePath("bad.ptmap"));
        EXPECT_TRUE(mapper.expressions().isEmpty());
        EXPECT_FALSE(mapper.matchesURL("my.ttf"));
        EXPECT_TRUE(mapper.metaForUnicode("e001").isEmpty());
    }
    const PTImportMapper missing(dir.filePath("missing.ptmap"));
    EXPECT_TRUE(missing.metaForUnicode("e001").isEmpty());
}

TEST(ImportMapper, FindingAMapping)
{
    QTemporaryDir dir;
    const QString fonts = dir.filePath("fonts");
    QDir().mkpath(fonts);
    // Beside the font under its own name: used whatever its expressions say, before a matching base file.
    write(fonts + "/MyFont.picternmap", R"({"expressions": ["^nothing"], "icons": {"e001": {"name": "Own"}}})");
    write(fonts + "/base.ptmap", R"({"expressions": ["^my"], "icons": {"e001": {"name": "Base"}}})");
    std::shared_ptr<const PTImportMapper> mapper = PTImportMapper::mapperForURL(fonts + "/MyFont.ttf");
    ASSERT_TRUE(mapper);
    EXPECT_EQ(mapper->metaForUnicode("e001").value("name").toString(), "Own");
    mapper = PTImportMapper::mapperForURL(fonts + "/my-other.otf");
    ASSERT_TRUE(mapper);
    EXPECT_EQ(mapper->metaForUnicode("e001").value("name").toString(), "Base");
    EXPECT_FALSE(PTImportMapper::mapperForURL(fonts + "/OtherFont.ttf"));
    // A folder named like the base file is no mapping.
    QDir().mkpath(dir.filePath("other/base.ptmap"));
    EXPECT_FALSE(PTImportMapper::mapperForURL(dir.filePath("other/my.ttf")));

    // The shipped mappings serve the packaged icon fonts.
    mapper = PTImportMapper::mapperForURL("/usr/share/fonts-font-awesome/fonts/fontawesome-webfont.ttf");
    ASSERT_TRUE(mapper);
    EXPECT_EQ(mapper->metaForUnicode("f000").value("name").toString(), "glass");
    mapper = PTImportMapper::mapperForURL(
        "/usr/share/fonts/truetype/materialdesignicons-webfont/materialdesignicons-webfont.ttf");
    ASSERT_TRUE(mapper);
    EXPECT_EQ(mapper->metaForUnicode("F002").value("name").toString(), "access-point");
}
