#include "transfer/pasteboard/PTPasteboardItemProvider.h"

#include "browser/PTBrowserTransfer.h"
#include "library/entities/PTItem.h"
#include "platform/runtime/Logging.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

constexpr QFile::Permissions PrivateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Made private whether it is new or was there before: exported icons are the user's alone.
bool makePrivateFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return false;
    if (!info.exists() && !QDir().mkdir(path, PrivateFolder))
        return false;
    return QFileInfo(path).isDir() && QFile::setPermissions(path, PrivateFolder);
}

QString sizeText(QSizeF size)
{
    if (size.width() == size.height())
        return QString::number(size.width()) + QLatin1Char('s');
    return QString::number(size.width()) + QLatin1Char('x') + QString::number(size.height());
}

} // namespace

PTPasteboardItemProvider::PTPasteboardItemProvider(PTItem* item)
    : item_(PTExporter::itemsFrom({item}).value(0))
    , uri_(item->objectID().uriString())
    , ownFileURL_(item->fileURL())
{
}

QStringList PTPasteboardItemProvider::writableTypes(const QStringList& excluding) const
{
    QStringList types{FileURLType, PTBrowserTransfer::ItemType};
    for (const QString& type : excluding)
        types.removeAll(type);
    return types;
}

QByteArray PTPasteboardItemProvider::dataForType(const QString& type)
{
    prepare();
    return propertyListForType(type);
}

QByteArray PTPasteboardItemProvider::propertyListForType(const QString& type) const
{
    if (type == PTBrowserTransfer::ItemType)
        return uri_.toUtf8();
    if (type == FileURLType)
        return fileURL().toEncoded();
    return {};
}

QUrl PTPasteboardItemProvider::fileURL() const
{
    if (exportFailed_)
        return {};
    return exportedURL_.isEmpty() ? ownFileURL_ : exportedURL_;
}

qint64 PTPasteboardItemProvider::format() const
{
    if (outputFormat != -1)
        return outputFormat;
    switch (item_.type) {
    case PTItem::SVG:
        return PTExportFormatSVG;
    case PTItem::GIF:
        return PTExportFormatGIF;
    case PTItem::WEBP:
        return PTExportFormatWebP;
    case PTItem::ICO:
        return PTExportFormatICO;
    default:
        return PTExportFormatPNG;
    }
}

bool PTPasteboardItemProvider::needsExport() const
{
    const bool sized = size.width() > 0 || size.height() > 0 || !sizeFormat.isEmpty();
    const bool replaces = replacementColors && !replacementColors->isEmpty();
    return color.isValid() || sized || replaces || (item_.type == PTItem::SVG && useInternalRenderer);
}

PTExportOutputOption PTPasteboardItemProvider::outputOption() const
{
    PTExportOutputOption option;
    option.fillColor = color;
    option.format = format();
    option.replacementColors = replacementColors;
    if (!sizeFormat.isEmpty())
        option.sizeFormat = sizeFormat;
    else if (size.width() > 0 || size.height() > 0)
        option.sizeFormat = sizeText(size);
    if (exportOptionHandler)
        exportOptionHandler(option);
    return option;
}

void PTPasteboardItemProvider::prepare()
{
    if (prepared_)
        return;
    prepared_ = true;
    if (!needsExport())
        return;
    // Until a file is written, none is offered.
    exportFailed_ = true;
    const QString folder = exportFolder();
    if (folder.isEmpty()) {
        qCWarning(lcTransfer).noquote() << "pasteboard: no folder for the copy of" << item_.name;
        return;
    }
    PTExportOutputOptionSet set;
    set.addOutputOption(outputOption());
    PTExporter exporter({item_}, set, folder);
    exporter.svgOptions = PTSVGExport::ImportOptions;
    exporter.tagsFiles = false;
    exporter.asynchronous = false;
    exporter.completionHandler = [this](const PTExporter::Result& result) {
        if (!result.paths.isEmpty()) {
            exportedURL_ = QUrl::fromLocalFile(result.paths.first());
            exportFailed_ = false;
        } else {
            qCWarning(lcTransfer).noquote() << "pasteboard: the copy of" << item_.name << "could not be made";
        }
    };
    exporter.begin();
}

QString PTPasteboardItemProvider::exportFolder()
{
    // Not the shared temporary folder: other users could read or plant files there.
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (base.isEmpty() || !QFileInfo(base).isDir())
        base = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (base.isEmpty() || !QDir().mkpath(base))
        return {};
    const QString root = QDir(base).filePath(FolderName);
    const QString folder = QDir(root).filePath(QString::number(QDateTime::currentSecsSinceEpoch()));
    return makePrivateFolder(root) && makePrivateFolder(folder) ? folder : QString();
}
