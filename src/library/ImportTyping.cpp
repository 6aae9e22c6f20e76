#include "library/ImportTyping.h"

#include "library/ImageHeaderProbe.h"
#include "library/ImportNaming.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

struct TypeEntry {
    const char* extension;
    PTImportFileType type;
    PTImportOptions bit;
};

constexpr TypeEntry Types[] = {
    {"svg", PTImportFileType::SVG, PTImportOption::AcceptSVG},
    {"png", PTImportFileType::PNG, PTImportOption::AcceptPNG},
    {"gif", PTImportFileType::GIF, PTImportOption::AcceptGIF},
    {"otf", PTImportFileType::OTF, PTImportOption::AcceptOTF},
    {"ttf", PTImportFileType::TTF, PTImportOption::AcceptTTF},
    {"icns", PTImportFileType::ICNS, PTImportOption::AcceptICNS},
    {"pdf", PTImportFileType::PDF, PTImportOption::AcceptPDF},
    {"webp", PTImportFileType::WebP, PTImportOption::AcceptWebP},
    {"ico", PTImportFileType::ICO, PTImportOption::AcceptICO},
};

const QStringList PackageExtensions{QStringLiteral("ptlibrary"), QStringLiteral("pictern"), QStringLiteral("app"),
                                    QStringLiteral("bundle"),    QStringLiteral("framework"), QStringLiteral("plugin")};

QString localPath(const QString& pathOrURL)
{
    const QUrl url(pathOrURL);
    return url.isLocalFile() ? url.toLocalFile() : pathOrURL;
}

std::optional<QSize> headerSize(const QString& path, PTImportFileType type)
{
    switch (type) {
    case PTImportFileType::PNG:
        return imageHeaderProbe::pngSize(imageHeaderProbe::readHead(path));
    case PTImportFileType::GIF:
        return imageHeaderProbe::gifSize(imageHeaderProbe::readHead(path));
    case PTImportFileType::ICNS:
        return imageHeaderProbe::icnsSize(imageHeaderProbe::readHead(path));
    case PTImportFileType::ICO:
        return imageHeaderProbe::icoSize(imageHeaderProbe::readHead(path));
    case PTImportFileType::WebP:
        return imageHeaderProbe::webpSize(imageHeaderProbe::readHead(path));
    default:
        return std::nullopt;
    }
}

QStringList contentsOf(const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        paths << dir.filePath(name);
    return paths;
}

} // namespace

PTImportOptions PTDefaultImportOptions()
{
    return 0x143DC;
}

bool PTImportOptionsContain(PTImportOptions options, PTImportOptions mask)
{
    return (options & mask) != 0;
}

PTImportFileType PTImportFileTypeForExtension(const QString& extension)
{
    const QString lower = extension.toLower();
    for (const TypeEntry& entry : Types) {
        if (lower == QLatin1String(entry.extension))
            return entry.type;
    }
    return PTImportFileType::Other;
}

PTImportOptions PTImportOptionForFileType(PTImportFileType type)
{
    for (const TypeEntry& entry : Types) {
        if (entry.type == type)
            return entry.bit;
    }
    return 0;
}

QStringList PTImportExtensions()
{
    QStringList extensions;
    for (const TypeEntry& entry : Types)
        extensions << QLatin1String(entry.extension);
    return extensions;
}

std::optional<PTImportPathInfo> PTImportPathInfoForPath(const QString& path, int flags)
{
    const QFileInfo info(path);
    if (!info.exists())
        return std::nullopt;
    PTImportPathInfo result;
    const PTImportFileType type = PTImportFileTypeForExtension(info.suffix());
    if (flags & PTImportPathInfoFlag::Name)
        result.name = info.completeBaseName();
    if (flags & PTImportPathInfoFlag::Type)
        result.type = type;
    if (flags & PTImportPathInfoFlag::PixelSize) {
        if (const std::optional<QSize> size = info.isFile() ? headerSize(path, type) : std::nullopt) {
            result.width = size->width();
            result.height = size->height();
        }
    }
    return result;
}

bool PTImportPathIsAccepted(const QString& path, PTImportOptions options)
{
    const std::optional<PTImportPathInfo> info = PTImportPathInfoForPath(path, PTImportPathInfoFlag::Type);
    return info && PTImportOptionsContain(options, PTImportOptionForFileType(info->type));
}

bool PTImportTypeExpands(PTImportFileType type, PTImportOptions options)
{
    switch (type) {
    case PTImportFileType::OTF:
    case PTImportFileType::TTF:
        return true;
    case PTImportFileType::SVG:
        return PTImportOptionsContain(options, PTImportOption::ExpandSpriteSheets);
    case PTImportFileType::ICNS:
        return PTImportOptionsContain(options, PTImportOption::ExpandICNS);
    case PTImportFileType::ICO:
        return PTImportOptionsContain(options, PTImportOption::ExpandICO);
    default:
        return false;
    }
}

PTImportOptions PTImportOptionsForURLs(PTImportOptions options, const QStringList& paths)
{
    for (const QString& path : paths)
        options |= PTImportOptionForFileType(PTImportFileTypeForExtension(QFileInfo(localPath(path)).suffix()));
    return options;
}

PTImportKind PTImportAnalysePaths(const QStringList& pathsOrURLs, PTImportOptions options, QString* suggestedName)
{
    QStringList paths;
    for (const QString& path : pathsOrURLs)
        paths << localPath(path);
    if (paths.isEmpty()) {
        if (suggestedName)
            *suggestedName = QString();
        return PTImportKind::Nothing;
    }
    const QFileInfo single(paths.first());
    const bool singleFolder = paths.size() == 1 && single.isDir();
    if (suggestedName) {
        const QString name = singleFolder ? single.fileName() : QFileInfo(QFileInfo(paths.last()).absolutePath()).fileName();
        *suggestedName = PTImportOptionsContain(options, PTImportOption::KeepFileNames) ? name : PTPrettifyName(name);
    }
    if (!PTImportOptionsContain(options, PTImportOption::FoldersBecomeGroupsAndSets))
        return PTImportKind::Set;
    const QStringList entries = paths.size() == 1 && single.exists() ? (single.isDir() ? contentsOf(paths.first()) : QStringList())
                                                                      : paths;
    bool files = false;
    bool folders = false;
    for (const QString& entry : entries) {
        if (PTImportPathIsAccepted(entry, options))
            files = true;
        else if (QFileInfo(entry).isDir())
            folders = true;
    }
    if (folders)
        return files ? PTImportKind::GroupAndSet : PTImportKind::Group;
    return PTImportKind::Set;
}

int PTImportAnalyseFolder(const QString& folder, PTImportOptions options)
{
    int bits = 0;
    for (const QString& entry : contentsOf(folder)) {
        if (!(bits & PTImportFolderContents::AcceptedFile) && PTImportPathIsAccepted(entry, options))
            bits |= PTImportFolderContents::AcceptedFile;
        else if (!(bits & PTImportFolderContents::SubFolder) && QFileInfo(entry).isDir())
            bits |= PTImportFolderContents::SubFolder;
        if (bits == (PTImportFolderContents::AcceptedFile | PTImportFolderContents::SubFolder))
            break;
    }
    return bits;
}

bool PTImportIsPackage(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && PackageExtensions.contains(info.suffix(), Qt::CaseInsensitive);
}
