#include "platform/graphics/Jpeg2000ImageHandler.h"

#include "platform/graphics/Jpeg2000Header.h"
#include "platform/runtime/Logging.h"

#include <QIODevice>
#include <QImage>

#include <openjpeg.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace pt {

namespace {

std::optional<OPJ_CODEC_FORMAT> codecOf(const QByteArray& head)
{
    switch (Jpeg2000Header::formOf(head)) {
    case Jpeg2000Header::Form::JP2:
        return OPJ_CODEC_JP2;
    case Jpeg2000Header::Form::Codestream:
        return OPJ_CODEC_J2K;
    case Jpeg2000Header::Form::Unknown:
        break;
    }
    return std::nullopt;
}

// The bytes as a stream libopenjp2 reads from memory.
struct MemoryStream {
    const QByteArray& data;
    qsizetype position = 0;

    qsizetype left() const { return data.size() - position; }
};

OPJ_SIZE_T readFrom(void* buffer, OPJ_SIZE_T count, void* user)
{
    auto* stream = static_cast<MemoryStream*>(user);
    if (stream->left() == 0)
        return OPJ_SIZE_T(-1);
    const qsizetype length = qsizetype(std::min<OPJ_SIZE_T>(count, OPJ_SIZE_T(stream->left())));
    std::memcpy(buffer, stream->data.constData() + stream->position, size_t(length));
    stream->position += length;
    return OPJ_SIZE_T(length);
}

OPJ_OFF_T skipIn(OPJ_OFF_T count, void* user)
{
    auto* stream = static_cast<MemoryStream*>(user);
    const qsizetype target = std::clamp<qsizetype>(stream->position + qsizetype(count), 0, stream->data.size());
    const qsizetype skipped = target - stream->position;
    if (skipped == 0 && count != 0)
        return -1;
    stream->position = target;
    return skipped;
}

OPJ_BOOL seekIn(OPJ_OFF_T offset, void* user)
{
    auto* stream = static_cast<MemoryStream*>(user);
    if (offset < 0 || offset > stream->data.size())
        return OPJ_FALSE;
    stream->position = qsizetype(offset);
    return OPJ_TRUE;
}

void logError(const char* message, void*)
{
    qCDebug(lcPlatform) << "JPEG 2000:" << QByteArray(message).trimmed();
}

void ignore(const char*, void*) {}

struct CodecDeleter {
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamDeleter {
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct ImageDeleter {
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};
using ImagePointer = std::unique_ptr<opj_image_t, ImageDeleter>;

// Gray, gray and alpha, RGB or RGBA, each component of a precision we can scale to eight bits. Colour spaces that
// need a conversion of their own (YCC, CMYK) are not read.
bool isSupported(const opj_image_t& image)
{
    if (image.numcomps < 1 || image.numcomps > Jpeg2000Header::MaximumComponents || image.x1 <= image.x0
        || image.y1 <= image.y0)
        return false;
    if (image.color_space == OPJ_CLRSPC_SYCC || image.color_space == OPJ_CLRSPC_EYCC
        || image.color_space == OPJ_CLRSPC_CMYK)
        return false;
    const qint64 width = image.x1 - image.x0, height = image.y1 - image.y0;
    constexpr qint64 limit = Jpeg2000Header::MaximumSamples;
    if (width > limit || height > limit || width * height * image.numcomps > limit)
        return false;
    for (OPJ_UINT32 index = 0; index < image.numcomps; ++index) {
        const opj_image_comp_t& component = image.comps[index];
        if (component.prec < 1 || component.prec > 16 || component.dx < 1 || component.dy < 1)
            return false;
    }
    return true;
}

// One component's value at a pixel of the picture, scaled to eight bits. A subsampled component covers several
// pixels with one sample.
class ComponentReader {
public:
    ComponentReader(const opj_image_t& image, const opj_image_comp_t& component)
        : component_(component), x0_(image.x0), y0_(image.y0),
          offset_(component.sgnd ? qint64(1) << (component.prec - 1) : 0),
          maximum_((qint64(1) << component.prec) - 1)
    {
    }

    int at(qint64 x, qint64 y) const
    {
        const qint64 column = std::clamp<qint64>((x0_ + x) / component_.dx - component_.x0, 0, component_.w - 1);
        const qint64 row = std::clamp<qint64>((y0_ + y) / component_.dy - component_.y0, 0, component_.h - 1);
        const qint64 value = std::clamp<qint64>(component_.data[row * component_.w + column] + offset_, 0, maximum_);
        return int((value * 255 + maximum_ / 2) / maximum_);
    }

private:
    const opj_image_comp_t& component_;
    qint64 x0_, y0_, offset_, maximum_;
};

bool hasAllSamples(const opj_image_t& image)
{
    for (OPJ_UINT32 index = 0; index < image.numcomps; ++index) {
        const opj_image_comp_t& component = image.comps[index];
        if (!component.data || component.w == 0 || component.h == 0)
            return false;
    }
    return true;
}

QImage::Format formatOf(const opj_image_t& image)
{
    return image.numcomps == 2 || image.numcomps == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

void copyPixels(const opj_image_t& image, QImage& target)
{
    std::vector<ComponentReader> components;
    for (OPJ_UINT32 index = 0; index < image.numcomps; ++index)
        components.emplace_back(image, image.comps[index]);
    const bool gray = image.numcomps <= 2;
    const bool alpha = image.numcomps == 2 || image.numcomps == 4;
    for (int y = 0; y < target.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < target.width(); ++x) {
            const int red = components[0].at(x, y);
            const int green = gray ? red : components[1].at(x, y);
            const int blue = gray ? red : components[2].at(x, y);
            line[x] = qRgba(red, green, blue, alpha ? components.back().at(x, y) : 255);
        }
    }
}

// The decoded picture, or none when the data is not a whole JPEG 2000 picture we may read.
ImagePointer decode(const QByteArray& data, OPJ_CODEC_FORMAT format)
{
    const std::unique_ptr<opj_codec_t, CodecDeleter> codec(opj_create_decompress(format));
    const std::unique_ptr<opj_stream_t, StreamDeleter> stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
    if (!codec || !stream)
        return {};
    MemoryStream memory{data};
    opj_stream_set_user_data(stream.get(), &memory, nullptr);
    opj_stream_set_user_data_length(stream.get(), OPJ_UINT64(data.size()));
    opj_stream_set_read_function(stream.get(), readFrom);
    opj_stream_set_skip_function(stream.get(), skipIn);
    opj_stream_set_seek_function(stream.get(), seekIn);
    opj_set_error_handler(codec.get(), logError, nullptr);
    opj_set_warning_handler(codec.get(), ignore, nullptr);
    opj_set_info_handler(codec.get(), ignore, nullptr);

    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    // Strict: a truncated stream fails instead of decoding to a partial picture.
    if (!opj_setup_decoder(codec.get(), &parameters) || !opj_decoder_set_strict_mode(codec.get(), OPJ_TRUE))
        return {};
    opj_image_t* header = nullptr;
    if (!opj_read_header(stream.get(), codec.get(), &header))
        return {};
    ImagePointer image(header);
    // What the decoder made of the header: colour spaces and precisions we can convert.
    if (!isSupported(*image))
        return {};
    if (!opj_decode(codec.get(), stream.get(), image.get()) || !opj_end_decompress(codec.get(), stream.get()))
        return {};
    if (!isSupported(*image) || !hasAllSamples(*image))
        return {};
    return image;
}

} // namespace

bool Jpeg2000ImageHandler::canRead() const
{
    if (!canRead(device()))
        return false;
    setFormat(codecOf(device()->peek(Jpeg2000Header::FormBytes)) == OPJ_CODEC_JP2 ? "jp2" : "j2k");
    return true;
}

bool Jpeg2000ImageHandler::canRead(QIODevice* device)
{
    return device && codecOf(device->peek(Jpeg2000Header::FormBytes)).has_value();
}

bool Jpeg2000ImageHandler::read(QImage* image)
{
    if (!device())
        return false;
    const QByteArray data = device()->read(MaximumBytes + 1);
    const std::optional<OPJ_CODEC_FORMAT> format = codecOf(data);
    // The header's counts are checked before libopenjp2 allocates for them.
    if (!format || data.size() > MaximumBytes || !Jpeg2000Header(data).isAcceptable())
        return false;
    const ImagePointer decoded = decode(data, *format);
    if (!decoded)
        return false;
    QImage target;
    const QSize size(int(decoded->x1 - decoded->x0), int(decoded->y1 - decoded->y0));
    // Qt's own allocation limit applies as well, as it does to every other format.
    if (!allocateImage(size, formatOf(*decoded), &target))
        return false;
    copyPixels(*decoded, target);
    *image = std::move(target);
    return true;
}

} // namespace pt
