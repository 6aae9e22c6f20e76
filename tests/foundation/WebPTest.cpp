#include "foundation/WebP.h"

#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// An icon-like picture: anti-aliased shapes, a colour gradient and translucent parts on a transparent ground.
QImage iconPicture(int size, int variant)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(0, 0, size, size);
    gradient.setColorAt(0, QColor(30 + variant * 40, 120, 200));
    gradient.setColorAt(1, QColor(240, 80, 20 + variant * 30));
    painter.setBrush(gradient);
    painter.setPen(QPen(QColor(20, 20, 20, 180), 1.5));
    painter.drawRoundedRect(QRectF(2.5, 3.5, size - 6, size - 8), 5, 5);
    painter.setBrush(QColor(255, 255, 255, 90));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(size * 0.4, size * 0.45), size * 0.22, size * 0.17);
    return image;
}

struct Tools {
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    bool run(const QString& program, const QStringList& arguments) const
    {
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit
            && process.exitCode() == 0;
    }

    QString savePng(const QImage& image, const QString& name) const
    {
        const QString file = path(name);
        return image.save(file, "PNG") ? file : QString();
    }

    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

// The pixels of a PAM file (as dwebp writes them) as straight RGBA.
QImage readPam(const QByteArray& pam)
{
    const qsizetype end = pam.indexOf("ENDHDR\n");
    if (!pam.startsWith("P7\n") || end < 0)
        return {};
    int width = 0;
    int height = 0;
    for (const QByteArray& line : pam.left(end).split('\n')) {
        if (line.startsWith("WIDTH "))
            width = line.mid(6).toInt();
        else if (line.startsWith("HEIGHT "))
            height = line.mid(7).toInt();
        else if (line.startsWith("DEPTH ") && line.mid(6).toInt() != 4)
            return {};
    }
    const QByteArray pixels = pam.mid(end + 7);
    if (width <= 0 || height <= 0 || pixels.size() != qsizetype(width) * height * 4)
        return {};
    QImage image(width, height, QImage::Format_RGBA8888);
    for (int y = 0; y < height; ++y)
        memcpy(image.scanLine(y), pixels.constData() + qsizetype(y) * width * 4, size_t(width) * 4);
    return image;
}

QString decodeErrorText(const QByteArray& data)
{
    pt::Error error;
    const QImage image = WebP::imageWithWebPData(data, &error);
    EXPECT_TRUE(image.isNull());
    EXPECT_EQ(error.domain, WebP::ErrorDomain);
    EXPECT_EQ(error.code, -1);
    return error.localizedDescription();
}

} // namespace

TEST(WebPTest, DecodesLikeTheReferenceDecoder)
{
    Tools tools;
    ASSERT_TRUE(tools.dir.isValid());
    const QString png = tools.savePng(iconPicture(48, 0), QStringLiteral("icon.png"));
    ASSERT_FALSE(png.isEmpty());

    const struct {
        const char* name;
        QStringList options;
    } encodings[] = {{"lossless", {QStringLiteral("-lossless")}},
                     {"lossy", {QStringLiteral("-q"), QStringLiteral("75")}}};
    for (const auto& encoding : encodings) {
        SCOPED_TRACE(encoding.name);
        const QString webp = tools.path(QStringLiteral("%1.webp").arg(QLatin1String(encoding.name)));
        const QString pam = tools.path(QStringLiteral("%1.pam").arg(QLatin1String(encoding.name)));
        ASSERT_TRUE(tools.run(QStringLiteral("cwebp"), QStringList(encoding.options) << QStringLiteral("-quiet")
                                                           << png << QStringLiteral("-o") << webp));
        // Our decoder skips the in-loop filter and the fancy upsampler; so does this reference run.
        ASSERT_TRUE(tools.run(QStringLiteral("dwebp"), {QStringLiteral("-nofancy"), QStringLiteral("-nofilter"),
                                                        QStringLiteral("-pam"), webp, QStringLiteral("-o"), pam}));
        QFile webpFile(webp);
        ASSERT_TRUE(webpFile.open(QIODevice::ReadOnly));
        pt::Error error;
        const QImage decoded = WebP::imageWithWebPData(webpFile.readAll(), &error);
        ASSERT_FALSE(decoded.isNull()) << error.toString().toStdString();
        EXPECT_TRUE(error.isNull());
        EXPECT_EQ(decoded.format(), QImage::Format_RGBA8888) << "straight alpha, not premultiplied";
        EXPECT_EQ(decoded.deviceIndependentSize(), QSizeF(48, 48));

        QFile pamFile(pam);
        ASSERT_TRUE(pamFile.open(QIODevice::ReadOnly));
        const QImage reference = readPam(pamFile.readAll());
        ASSERT_FALSE(reference.isNull());
        EXPECT_TRUE(decoded == reference);
    }
}

TEST(WebPTest, TranslucentGradientSurvivesARoundTrip)
{
    // Grey levels under 50% alpha: premultiplied input would come back at half the level.
    QImage gradient(64, 16, QImage::Format_RGBA8888);
    for (int y = 0; y < gradient.height(); ++y)
        for (int x = 0; x < gradient.width(); ++x)
            gradient.setPixelColor(x, y, QColor(x * 4, x * 4, x * 4, 128));

    pt::Error error;
    const QByteArray data = WebP::webPRepresentationWithPreset(gradient, 0, 100.0f, &error);
    ASSERT_FALSE(data.isEmpty()) << error.toString().toStdString();
    EXPECT_TRUE(data.startsWith("RIFF"));
    const QImage decoded = WebP::imageWithWebPData(data);
    ASSERT_EQ(decoded.size(), gradient.size());
    int worst = 0;
    for (int y = 0; y < gradient.height(); ++y) {
        for (int x = 0; x < gradient.width(); ++x) {
            const QColor in = gradient.pixelColor(x, y);
            const QColor out = decoded.pixelColor(x, y);
            worst = std::max({worst, std::abs(in.red() - out.red()), std::abs(in.green() - out.green()),
                              std::abs(in.blue() - out.blue()), std::abs(in.alpha() - out.alpha())});
        }
    }
    EXPECT_LE(worst, 4);
}

TEST(WebPTest, EncodesOnePixelPerPoint)
{
    QImage hiDpi = iconPicture(64, 1);
    hiDpi.setDevicePixelRatio(2.0);
    const QImage bitmap = WebP::webPUnscaledBitmapImageRepresentation(hiDpi);
    EXPECT_EQ(bitmap.size(), QSize(32, 32));
    EXPECT_EQ(bitmap.format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(bitmap.devicePixelRatio(), 1.0);

    const QImage decoded = WebP::imageWithWebPData(WebP::webPRepresentationWithPreset(hiDpi, 0, 90.0f));
    EXPECT_EQ(decoded.size(), QSize(32, 32));

    // Fractional point sizes are truncated.
    QImage odd = iconPicture(21, 2);
    odd.setDevicePixelRatio(2.0);
    EXPECT_EQ(WebP::webPUnscaledBitmapImageRepresentation(odd).size(), QSize(10, 10));
}

TEST(WebPTest, RefusesAnImageBelowOnePoint)
{
    QImage tiny(1, 1, QImage::Format_ARGB32);
    tiny.fill(Qt::red);
    tiny.setDevicePixelRatio(2.0);
    for (const QImage& image : {tiny, QImage()}) {
        pt::Error error;
        EXPECT_TRUE(WebP::webPRepresentationWithPreset(image, 0, 80.0f, &error).isEmpty());
        EXPECT_EQ(error.domain, WebP::ErrorDomain);
        EXPECT_EQ(error.localizedDescription(), QStringLiteral("WebP image is smaller than one point."));
    }
}

TEST(WebPTest, DataThatIsNotWebPAnswersNothingWithoutAnError)
{
    Tools tools;
    const QString png = tools.savePng(iconPicture(16, 0), QStringLiteral("icon.png"));
    const QByteArray inputs[] = {QByteArray(), tools.read(QStringLiteral("icon.png")), QByteArray("RIFF1234WEBP")};
    for (const QByteArray& data : inputs) {
        pt::Error error(QStringLiteral("untouched"), 7);
        EXPECT_TRUE(WebP::imageWithWebPData(data, &error).isNull());
        EXPECT_EQ(error.domain, QStringLiteral("untouched"));
    }
}

TEST(WebPTest, BrokenPicturesReportTheDecoderStatus)
{
    Tools tools;
    const QString png = tools.savePng(iconPicture(64, 2), QStringLiteral("a.png"));
    const QString png2 = tools.savePng(iconPicture(64, 3), QStringLiteral("b.png"));
    ASSERT_TRUE(tools.run(QStringLiteral("cwebp"), {QStringLiteral("-quiet"), png, QStringLiteral("-o"),
                                                    tools.path(QStringLiteral("a.webp"))}));
    ASSERT_TRUE(tools.run(QStringLiteral("img2webp"), {QStringLiteral("-loop"), QStringLiteral("0"), png, png2,
                                                       QStringLiteral("-o"), tools.path(QStringLiteral("anim.webp"))}));

    const QByteArray whole = tools.read(QStringLiteral("a.webp"));
    ASSERT_GT(whole.size(), 200);
    EXPECT_EQ(decodeErrorText(whole.left(whole.size() * 6 / 10)), QStringLiteral("VP8 not enough data"));

    EXPECT_EQ(decodeErrorText(tools.read(QStringLiteral("anim.webp"))), QStringLiteral("VP8 unsupported feature"));
}

TEST(WebPTest, DefaultRepresentationIsTheSmallLossyFile)
{
    const QImage picture = iconPicture(48, 1);
    const QByteArray small = WebP::webPRepresentation(picture);
    const QImage decoded = WebP::imageWithWebPData(small);
    EXPECT_EQ(decoded.size(), QSize(48, 48));
    EXPECT_LT(small.size(), WebP::webPRepresentationWithPreset(picture, 0, 100.0f).size());
}
