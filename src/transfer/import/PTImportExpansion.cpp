#include "transfer/import/PTImportExpansion.h"

#include "library/ImageHeaderProbe.h"
#include "library/ImportNaming.h"
#include "library/PTFileNamer.h"
#include "platform/graphics/ImageFileReader.h"
#include "platform/runtime/Logging.h"
#include "svg/PTSVG.h"
#include "svg/model/PTSVGPath.h"
#include "svg/parse/PTSVGParser.h"
#include "svg/write/PTSVGExportOptions.h"
#include "svg/write/PTSVGFontConverter.h"
#include "transfer/import/PTImportMapper.h"
#include "transfer/import/PTImportSymbolSheet.h"
#include "transfer/import/PTImporter2SVGWrapper.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QSet>
#include <QUuid>

namespace {

const QString UnknownName = QStringLiteral("Unknown");

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

QString uuidSVGPath(const QString& folder)
{
    return QDir(folder).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".svg"));
}

// The glyph's entry named by its code, with the mapping's name and tags for the lookup code (each only when a
// non-empty string).
PTImportExpansion::Entry glyphEntry(const QString& path, const QString& code, const PTImportMapper* mapper,
                                    const QString& lookup)
{
    PTImportExpansion::Entry entry{path, code, code, {}, true};
    if (mapper) {
        const QJsonObject meta = mapper->metaForUnicode(lookup);
        if (const QString name = meta.value(QStringLiteral("name")).toString(); !name.isEmpty())
            entry.name = name;
        entry.tags = meta.value(QStringLiteral("tags")).toString();
    }
    return entry;
}

// An SVG font's glyph carries its character; mappings name glyphs by code as well.
QString mappingCode(const QString& unicode, const PTImportMapper* mapper)
{
    const QList<uint> codePoints = unicode.toUcs4();
    if (!mapper || codePoints.size() != 1 || !mapper->metaForUnicode(unicode).isEmpty())
        return unicode;
    return PTSVGFontConverter::keyForCodePoint(char32_t(codePoints.first()));
}

// The picture's size and pixels, to know a picture that a file holds more than once.
QByteArray pictureDigest(const QImage& image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(pixels.width()) + 'x' + QByteArray::number(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(pixels.constScanLine(y)), 4 * pixels.width()));
    return hash.result();
}

} // namespace

QVector<PTImportExpansion::Entry> PTImportExpansion::expand(const QString& path, PTImportFileType type,
                                                            const QString& folder)
{
    if (!QDir().mkpath(folder))
        return {};
    switch (type) {
    case PTImportFileType::SVG:
        return expandSVG(path, folder);
    case PTImportFileType::OTF:
    case PTImportFileType::TTF:
        return expandFont(path, folder);
    case PTImportFileType::ICNS:
    case PTImportFileType::ICO:
        return expandBitmapRepresentations(path, type, folder);
    default:
        return {};
    }
}

QVector<PTImportExpansion::Entry> PTImportExpansion::expandSVG(const QString& path, const QString& folder)
{
    PTImporter2SVGWrapper wrapper;
    // The cache is bypassed: a cached document reports no nested documents.
    const PTSVG::Result parsed = PTSVG::svgWithFile(path, false, &wrapper);
    QVector<Entry> entries;
    const QString ownName = QFileInfo(path).fileName();
    PTFileNamer namer;
    const auto addPart = [&](const std::shared_ptr<PTSVG>& part, const QString& identifier) {
        const QString target = QDir(folder).filePath(PTSafeUniqueFileName(ownName, folder, namer));
        if (!writeFile(target, part->SVGStringWithOptions(PTSVGExport::ImportOptions).toUtf8()))
            return;
        Entry entry{target, std::nullopt, {}, {}, true};
        if (!identifier.isEmpty())
            entry.name = identifier;
        entries.append(entry);
    };
    for (const std::shared_ptr<PTSVG>& sub : wrapper.SVGs())
        addPart(sub, sub->identifier());
    for (const PTImportSymbolSheet::Symbol& symbol : PTImportSymbolSheet::symbols(path)) {
        if (const PTSVG::Result part = PTSVG::svgWithString(symbol.svgText))
            addPart(*part, symbol.identifier);
    }
    // A sheet is often not drawn itself and has no size of its own: its parts still come in, without it.
    if (!parsed)
        return entries;
    const std::shared_ptr<PTSVG>& document = *parsed;
    if (!document->isFont()) {
        entries.append(Entry{path});
        return entries;
    }
    const std::shared_ptr<const PTImportMapper> mapper = PTImportMapper::mapperForURL(path);
    for (const std::shared_ptr<PTSVGPath>& glyph : document->rootNode()->glyphs()) {
        const std::shared_ptr<PTSVG> converted = PTSVGFontConverter::convertPTSVGPathToSVG(*glyph);
        const QString target = uuidSVGPath(folder);
        if (!converted || !writeFile(target, converted->SVGStringWithOptions(PTSVGExport::ImportOptions).toUtf8()))
            continue;
        Entry entry = glyphEntry(target, glyph->unicode(), mapper.get(), mappingCode(glyph->unicode(), mapper.get()));
        if (!entry.name || entry.name->isEmpty())
            entry.name = UnknownName;
        entries.append(entry);
    }
    return entries;
}

QVector<PTImportExpansion::Entry> PTImportExpansion::expandFont(const QString& path, const QString& folder)
{
    PTSVGFontConverter converter(path);
    const std::shared_ptr<const PTImportMapper> mapper = PTImportMapper::mapperForURL(path);
    QVector<Entry> entries;
    converter.enumerate([&](const QString& code, const std::shared_ptr<PTSVG>& svg) {
        const QString target = uuidSVGPath(folder);
        if (svg && writeFile(target, svg->SVGStringWithOptions(PTSVGExport::ImportOptions).toUtf8()))
            entries.append(glyphEntry(target, code, mapper.get(), code));
    });
    return entries;
}

QVector<PTImportExpansion::Entry> PTImportExpansion::expandBitmapRepresentations(const QString& path,
                                                                                   PTImportFileType type,
                                                                                   const QString& folder)
{
    QVector<Entry> entries{Entry{path}};
    pt::ImageFileReader file(path);
    QImageReader& reader = file.reader();
    const QString base = QFileInfo(path).completeBaseName();
    PTFileNamer namer;
    // A directory may list one picture thousands of times: it becomes one part.
    QSet<QByteArray> taken;
    for (int index = 0; index < std::max(reader.imageCount(), 1); ++index) {
        if (index > 0 && !reader.jumpToImage(index))
            break;
        const QByteArray subType = reader.subType();
        const QImage image = reader.read();
        if (image.isNull() || image.width() <= 0)
            continue;
        const std::optional<imageHeaderProbe::IcnsGeometry> geometry =
            type == PTImportFileType::ICNS ? imageHeaderProbe::icnsGeometry(subType) : std::nullopt;
        const int scale = geometry ? geometry->scale : 1;
        const int width = geometry ? geometry->points : image.width();
        const int height = geometry ? geometry->points : image.height();
        if (width <= 0 || height <= 0)
            continue;
        const QString suffix = scale >= 2 ? QStringLiteral("@%1x").arg(scale) : QString();
        const QString name = QStringLiteral("%1-%2x%3%4.png").arg(base).arg(width).arg(height).arg(suffix);
        // An ICNS picture at another density is another part.
        const QByteArray digest = (geometry ? subType : QByteArray()) + pictureDigest(image);
        if (taken.contains(digest))
            continue;
        taken.insert(digest);
        const QString target = QDir(folder).filePath(PTUniqueFileName(name, folder, namer));
        QSaveFile file(target);
        if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit())
            entries.append(Entry{target, std::nullopt, {}, {}, true});
        else
            qCWarning(lcTransfer).noquote() << "import: representation not written:" << target;
    }
    return entries;
}
