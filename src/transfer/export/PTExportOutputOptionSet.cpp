#include "transfer/export/PTExportOutputOptionSet.h"

#include "platform/plist/KeyedArchive.h"
#include "platform/plist/PropertyList.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <algorithm>

namespace {

const QString kName = QStringLiteral("name");
const QString kIdentifier = QStringLiteral("identifier");
const QString kOptions = QStringLiteral("options");
const QString kErrorDomain = QStringLiteral("PTExportPresetErrorDomain");

QString newIdentifier()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

pt::Error notAPreset(const QString& path, const QString& reason)
{
    return pt::Error::withDescription(kErrorDomain, 1,
                                      QStringLiteral("\u201c%1\u201d is not a preset.").arg(QFileInfo(path).fileName()),
                                      reason);
}

} // namespace

PTExportOutputOptionSet::PTExportOutputOptionSet()
    : identifier(newIdentifier())
{
}

void PTExportOutputOptionSet::refreshIdentifier()
{
    identifier = newIdentifier();
}

PTExportOutputOptionSet PTExportOutputOptionSet::copy() const
{
    PTExportOutputOptionSet set = *this;
    set.filePath.clear();
    return set;
}

bool PTExportOutputOptionSet::requiresCompressionControl() const
{
    return std::any_of(options_.begin(), options_.end(),
                       [](const PTExportOutputOption& option) { return option.requiresCompression(); });
}

bool PTExportOutputOptionSet::requiresProgressiveControl() const
{
    return std::any_of(options_.begin(), options_.end(),
                       [](const PTExportOutputOption& option) { return option.format == PTExportFormatJPG; });
}

QByteArray PTExportOutputOptionSet::data() const
{
    QVariantList options;
    for (const PTExportOutputOption& option : options_)
        options.append(option.archivedObject());
    const QVariantMap root{{kName, name}, {kIdentifier, identifier}, {kOptions, options}};
    return pt::PropertyList::toData(pt::KeyedArchive::archivedRoot(root), pt::PropertyList::Format::Binary)
        .valueOr(QByteArray());
}

pt::Result<PTExportOutputOptionSet> PTExportOutputOptionSet::fromFile(const QString& path)
{
    const QFileInfo info(path);
    if (info.suffix().compare(Extension, Qt::CaseInsensitive) != 0 || !info.isFile())
        return notAPreset(path, QStringLiteral("The file is missing or has another extension."));
    if (info.size() > MaximumFileSize)
        return notAPreset(path, QStringLiteral("The file is too large."));
    const auto plist = pt::PropertyList::fromFile(path);
    if (!plist)
        return plist.error();
    const auto root = pt::KeyedArchive::unarchivedRoot(*plist);
    if (!root)
        return root.error();
    const QVariantMap fields = root->toMap();
    const QVariant options = fields.value(kOptions);
    if (root->typeId() != QMetaType::QVariantMap || fields.contains(pt::KeyedArchive::ClassesKey)
        || (options.isValid() && options.typeId() != QMetaType::QVariantList))
        return notAPreset(path, QStringLiteral("The archive holds no preset."));
    PTExportOutputOptionSet set;
    set.name = fields.value(kName).toString();
    set.identifier = fields.value(kIdentifier).toString();
    set.filePath = path;
    for (const QVariant& object : options.toList()) {
        const auto option = PTExportOutputOption::fromArchivedObject(object);
        if (!option)
            return notAPreset(path, QStringLiteral("An output is not an export option."));
        set.options_.append(*option);
    }
    return set;
}
