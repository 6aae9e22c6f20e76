#include "foundation/WebP.h"

#include <QCoreApplication>
#include <QPainter>

#include <webp/decode.h>
#include <webp/encode.h>

namespace WebP {

namespace {

// Headers may claim up to 16383 x 16383 pixels; refuse to allocate more than this for one picture.
constexpr qint64 MaximumPixels = qint64(1) << 26;

const char* const TranslationContext = "WebPImageSerialization";

const char* const PresetFailedText = "WebP image configuration preset initialization failed.";
const char* const InvalidConfigurationText = "WebP image invalid configuration.";
const char* const PictureInitFailedText = "WebP image failed to initialize structure.";
const char* const EmptyImageText = "WebP image is smaller than one point.";
const char* const EncodingFailedText = "WebP image encoding failed.";
const char* const HeaderErrorText = "WebP header formatting error";
const char* const DecoderInitFailedText = "WebP image failed to initialize structure";

const char* statusText(VP8StatusCode status)
{
    switch (status) {
    case VP8_STATUS_OUT_OF_MEMORY: return "VP8 out of memory";
    case VP8_STATUS_INVALID_PARAM: return "VP8 invalid parameter";
    case VP8_STATUS_BITSTREAM_ERROR: return "VP8 bitstream error";
    case VP8_STATUS_UNSUPPORTED_FEATURE: return "VP8 unsupported feature";
    case VP8_STATUS_SUSPENDED: return "VP8 suspended";
    case VP8_STATUS_USER_ABORT: return "VP8 user Abort";
    case VP8_STATUS_NOT_ENOUGH_DATA: return "VP8 not enough data";
    default: return "VP8 unknown error";
    }
}

void fail(pt::Error* error, const char* text)
{
    if (error)
        *error = pt::Error::withDescription(ErrorDomain, ErrorCode,
                                            QCoreApplication::translate(TranslationContext, text));
}

// Frees the picture and the writer's bytes on every way out of the encoder.
struct EncoderState {
    WebPPicture picture;
    WebPMemoryWriter writer;
    bool pictureReady = false;

    EncoderState() { WebPMemoryWriterInit(&writer); }
    ~EncoderState()
    {
        if (pictureReady)
            WebPPictureFree(&picture);
        WebPMemoryWriterClear(&writer);
    }
};

// The image with one pixel per point in the given 8-bit RGBA format; an image that already has one pixel per
// point is only converted, so straight alpha is not rounded through premultiplied values.
QImage unscaledBitmap(const QImage& image, QImage::Format format)
{
    if (image.isNull())
        return {};
    const QSizeF points = image.deviceIndependentSize();
    const QSize pixels(static_cast<int>(points.width()), static_cast<int>(points.height()));
    if (pixels.isEmpty())
        return {};
    if (pixels == image.size() && image.devicePixelRatio() == 1.0)
        return image.convertToFormat(format);
    QImage bitmap(pixels, QImage::Format_RGBA8888_Premultiplied);
    if (bitmap.isNull())
        return {};
    bitmap.fill(Qt::transparent);
    {
        QPainter painter(&bitmap);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(QPointF(0, 0), points), image);
    }
    return bitmap.convertToFormat(format);
}

} // namespace

QImage webPUnscaledBitmapImageRepresentation(const QImage& image)
{
    return unscaledBitmap(image, QImage::Format_RGBA8888_Premultiplied);
}

QByteArray webPRepresentationWithPreset(const QImage& image, int preset, float quality, pt::Error* error)
{
    // libwebp takes straight alpha: premultiplied bytes would darken every translucent pixel.
    const QImage rgba = unscaledBitmap(image, QImage::Format_RGBA8888);
    if (rgba.isNull()) {
        fail(error, EmptyImageText);
        return {};
    }

    WebPConfig config;
    if (!WebPConfigPreset(&config, static_cast<WebPPreset>(preset), quality)) {
        fail(error, PresetFailedText);
        return {};
    }
    if (!WebPValidateConfig(&config)) {
        fail(error, InvalidConfigurationText);
        return {};
    }
    EncoderState state;
    if (!WebPPictureInit(&state.picture)) {
        fail(error, PictureInitFailedText);
        return {};
    }
    state.pictureReady = true;
    state.picture.use_argb = 0;
    state.picture.colorspace = WEBP_YUV420;
    state.picture.width = rgba.width();
    state.picture.height = rgba.height();
    // With use_argb off the import converts straight to YUVA.
    if (!WebPPictureImportRGBA(&state.picture, rgba.constBits(), static_cast<int>(rgba.bytesPerLine()))) {
        fail(error, EncodingFailedText);
        return {};
    }
    WebPCleanupTransparentArea(&state.picture);
    state.picture.writer = WebPMemoryWrite;
    state.picture.custom_ptr = &state.writer;
    if (!WebPEncode(&config, &state.picture) || state.writer.size == 0) {
        fail(error, EncodingFailedText);
        return {};
    }
    return QByteArray(reinterpret_cast<const char*>(state.writer.mem), static_cast<qsizetype>(state.writer.size));
}

QByteArray webPRepresentation(const QImage& image, pt::Error* error)
{
    return webPRepresentationWithPreset(image, 0, 1.0f, error);
}

QImage imageWithWebPData(const QByteArray& data, pt::Error* error)
{
    if (data.isEmpty())
        return {};
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
    const auto size = static_cast<size_t>(data.size());
    int width = 0;
    int height = 0;
    if (!WebPGetInfo(bytes, size, &width, &height) || width <= 0 || height <= 0)
        return {};

    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config)) {
        fail(error, DecoderInitFailedText);
        return {};
    }
    if (WebPGetFeatures(bytes, size, &config.input) != VP8_STATUS_OK) {
        fail(error, HeaderErrorText);
        return {};
    }
    if (qint64(config.input.width) * config.input.height > MaximumPixels) {
        fail(error, statusText(VP8_STATUS_OUT_OF_MEMORY));
        return {};
    }
    // The decoder writes straight into the image, which then owns the pixels.
    QImage image(config.input.width, config.input.height, QImage::Format_RGBA8888);
    if (image.isNull()) {
        fail(error, statusText(VP8_STATUS_OUT_OF_MEMORY));
        return {};
    }
    config.output.colorspace = MODE_RGBA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = image.bits();
    config.output.u.RGBA.stride = static_cast<int>(image.bytesPerLine());
    config.output.u.RGBA.size = static_cast<size_t>(image.sizeInBytes());
    config.options.bypass_filtering = 1;
    config.options.no_fancy_upsampling = 1;
    config.options.use_threads = 1;
    const VP8StatusCode status = WebPDecode(bytes, size, &config);
    WebPFreeDecBuffer(&config.output);
    if (status != VP8_STATUS_OK) {
        fail(error, statusText(status));
        return {};
    }
    return image;
}

} // namespace WebP
