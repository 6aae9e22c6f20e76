#include "transfer/export/PTExportSource.h"

#include "foundation/DifferentStuff.h"
#include "foundation/WebP.h"
#include "library/IconPictureReader.h"
#include "library/entities/PTItem.h"
#include "platform/graphics/ImageFileReader.h"
#include "svg/PTSVG.h"
#include "transfer/export/PTExportPDFSource.h"

#include <QFile>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

bool isVectorOutput(qint64 format)
{
    return format == PTExportFormatPDF || format == PTExportFormatEPS || format == PTExportFormatSVG;
}

// Pictures larger than the largest output are refused: even read scaled down, they cost the time of every pixel.
constexpr qint64 MaximumPixels = qint64(PTExportOutputOption::MaximumSide) * qint64(PTExportOutputOption::MaximumSide);

// The sizes of the file's images, in order: an ICO's and an ICNS's as their pictures' headers tell them.
QList<QSize> frameSizes(const QString& path, qint64 type)
{
    QList<QSize> sizes = iconPictureReader::pictureSizes(path, type);
    if (std::any_of(sizes.begin(), sizes.end(), [](QSize size) { return !size.isEmpty(); }))
        return sizes;
    sizes.clear();
    pt::ImageFileReader file(path);
    QImageReader& reader = file.reader();
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
        for (const QSize& size : frameSizes(path, type))
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
    if (type_ == PTItem::ICNS || type_ == PTItem::ICO)
        return iconPictureReader::readNearestPicture(path_, type_, size, size, MaximumPixels);
    pt::ImageFileReader frame(path_);
    return iconPictureReader::readFitting(frame.reader(), size, MaximumPixels);
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
