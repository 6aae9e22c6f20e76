#include "transfer/export/PTExportSource.h"

#include "foundation/DifferentStuff.h"
#include "foundation/WebP.h"
#include "library/ImageHeaderProbe.h"
#include "library/entities/PTItem.h"
#include "svg/PTSVG.h"
#include "transfer/export/PTExportPDFSource.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <cmath>

namespace {

bool isVectorOutput(qint64 format)
{
    return format == PTExportFormatPDF || format == PTExportFormatEPS || format == PTExportFormatSVG;
}

// Pictures larger than the largest output are refused: even read scaled down, they cost the time of every pixel.
constexpr qint64 MaximumPixels = qint64(PTExportOutputOption::MaximumSide) * qint64(PTExportOutputOption::MaximumSide);

bool isTooLarge(QSize size)
{
    return qint64(size.width()) * size.height() > MaximumPixels;
}

// Decodes the reader's picture no larger than the output needs: a picture that does not fit the output is read
// scaled down where its format can (PNG, JPEG), so the memory follows the output and not the file. Qt's
// allocation limit stays in force for the rest, since a header may understate what decoding takes.
QImage readImage(QImageReader& reader, QSize output)
{
    const QSize size = reader.size();
    if (size.isValid() && isTooLarge(size))
        return {};
    if (size.isValid() && !output.isEmpty() && (size.width() > output.width() || size.height() > output.height())
        && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(size.scaled(output, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    return reader.read();
}

// The sizes of the file's images, in order; an ICO's as its pictures' own headers tell them, since its
// directory says 256 for any larger PNG inside.
QList<QSize> frameSizes(const QString& path, const QList<imageHeaderProbe::IcoPicture>& icoPictures)
{
    QList<QSize> sizes;
    if (!icoPictures.isEmpty()) {
        for (const imageHeaderProbe::IcoPicture& picture : icoPictures)
            sizes.append(picture.size);
        return sizes;
    }
    QImageReader reader(path);
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count && (i == 0 || reader.jumpToImage(i)); ++i) {
        // Some formats only know an image's size once it is decoded.
        QSize size = reader.size();
        if (!size.isValid())
            size = reader.read().size();
        if (!size.isValid())
            break;
        sizes.append(size);
    }
    return sizes;
}

// The index of the smallest image covering the size, else of the largest; images of unknown or refused sizes
// never count.
int bestFrame(const QList<QSize>& sizes, QSize size)
{
    int bestCovering = -1, largest = 0;
    qint64 coveringArea = 0, largestArea = -1;
    for (int i = 0; i < sizes.size(); ++i) {
        const QSize candidate = sizes[i];
        if (candidate.isEmpty() || isTooLarge(candidate))
            continue;
        const qint64 area = qint64(candidate.width()) * candidate.height();
        if (candidate.width() >= size.width() && candidate.height() >= size.height()
            && (bestCovering < 0 || area < coveringArea)) {
            bestCovering = i;
            coveringArea = area;
        }
        if (area > largestArea) {
            largest = i;
            largestArea = area;
        }
    }
    return bestCovering >= 0 ? bestCovering : largest;
}

QList<imageHeaderProbe::IcoPicture> icoPicturesOf(const QString& path, qint64 type)
{
    QFile file(path);
    return type == PTItem::ICO && file.open(QIODevice::ReadOnly) ? imageHeaderProbe::icoPictures(file)
                                                                  : QList<imageHeaderProbe::IcoPicture>();
}

// A PNG inside an ICO, read on its own so that it can be read scaled down.
QImage readIcoPNG(const QString& path, const imageHeaderProbe::IcoPicture& picture, QSize output)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(picture.offset))
        return {};
    QByteArray bytes = file.read(picture.length);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    return readImage(reader, output);
}

} // namespace

PTExportSource::PTExportSource(const QString& path, qint64 type)
    : path_(path), type_(type)
{
    if (type == PTItem::SVG) {
        auto svg = PTSVG::svgWithFile(path, false);
        if (svg) {
            tree_ = (*svg)->rootNode();
            size_ = (*svg)->viewBox().size();
        }
    } else if (type == PTItem::PDF) {
        pdf_ = PTExportPDFSource::fromFile(path);
        if (pdf_)
            size_ = pdf_->pageSize();
    } else if (type == PTItem::WEBP) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            size_ = WebP::imageWithWebPData(file.readAll()).size();
    } else {
        // The widest and the tallest of the file's images, each taken on its own.
        for (const QSize& size : frameSizes(path, icoPicturesOf(path, type)))
            size_ = {std::max(size_.width(), double(size.width())), std::max(size_.height(), double(size.height()))};
    }
    if (!size_.isValid())
        size_ = {};
}

PTExportSource::~PTExportSource() = default;

QImage PTExportSource::bitmapForSize(QSize size) const
{
    if (type_ == PTItem::WEBP) {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? WebP::imageWithWebPData(file.readAll()) : QImage();
    }
    if (type_ == PTItem::PDF) {
        // Rasterised at the scale that fits the page into the size, never scaled afterwards.
        if (!pdf_)
            return {};
        const QSizeF fitted = pdf_->pageSize().scaled(QSizeF(size), Qt::KeepAspectRatio);
        return pdf_->imageWithSize(QSize(std::max(1, int(std::lround(fitted.width()))),
                                         std::max(1, int(std::lround(fitted.height())))));
    }
    int chosen = 0;
    if (type_ == PTItem::ICNS || type_ == PTItem::ICO) {
        const QList<imageHeaderProbe::IcoPicture> pictures = icoPicturesOf(path_, type_);
        chosen = bestFrame(frameSizes(path_, pictures), size);
        if (chosen < pictures.size() && pictures[chosen].png)
            return readIcoPNG(path_, pictures[chosen], size);
    }
    QImageReader frame(path_);
    if (chosen > 0)
        frame.jumpToImage(chosen);
    return readImage(frame, size);
}

PTExportSource::Object PTExportSource::objectForOption(const PTExportOutputOption& option, QSizeF size) const
{
    Object object;
    const QSize pixels = size.toSize();
    if (type_ == PTItem::SVG) {
        if (!tree_)
            return object;
        std::shared_ptr<PTSVG> svg = PTSVG::svgWithParsedTree(tree_);
        if (option.replacementColors && !option.replacementColors->isEmpty()) {
            for (auto it = option.replacementColors->begin(); it != option.replacementColors->end(); ++it)
                svg->replaceColor(QColor::fromRgba(it.key()), it.value());
        } else if (option.fillColor.isValid()) {
            svg->setStrokeColor(option.fillColor);
            svg->setFillColor(option.fillColor);
        }
        if (isVectorOutput(option.format))
            object.svg = svg;
        else
            object.image = svg->imageWithSize(pixels);
    } else if (type_ == PTItem::PDF && pdf_
               && (option.format == PTExportFormatPDF || option.format == PTExportFormatEPS)) {
        object.pdf = pdf_;
        return object;
    } else {
        const QImage bitmap = bitmapForSize(pixels);
        if (bitmap.isNull())
            return object;
        object.image = type_ == PTItem::PDF ? bitmap
                                            : differentStuff::imageByScalingProportionallyInSize(bitmap, size, true);
    }
    if (object.image.isNull())
        return object;
    const bool tint = option.fillColor.isValid()
                      && !(option.replacementColors && !option.replacementColors->isEmpty());
    object.image = centred(tint ? tinted(object.image, option.fillColor) : object.image, pixels);
    return object;
}

QImage PTExportSource::tinted(const QImage& image, const QColor& fill)
{
    QImage result(image.size(), QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setOpacity(fill.alphaF());
    painter.drawImage(0, 0, image);
    painter.setOpacity(1.0);
    painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    QColor opaque = fill;
    opaque.setAlphaF(1.0);
    painter.fillRect(result.rect(), opaque);
    return result;
}

QImage PTExportSource::centred(const QImage& image, QSize canvas)
{
    QImage result(canvas, QImage::Format_ARGB32_Premultiplied);
    if (result.isNull())
        return result;
    result.fill(Qt::transparent);
    // Whole pixels: an odd leftover's extra pixel lands on the left and at the bottom.
    const int x = (canvas.width() - image.width() + 1) / 2;
    const int y = (canvas.height() - image.height()) / 2;
    QPainter painter(&result);
    painter.drawImage(x, y, image);
    return result;
}
