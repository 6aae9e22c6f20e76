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
const QString kSubsets = QStringLiteral("subsets");
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

void PTExportOutputOptionSet::removeOutputOption(const PTExportOutputOption& option)
{
    options_.removeIf([&option](const PTExportOutputOption& held) { return held.equalsOption(option); });
}

void PTExportOutputOptionSet::removeSubset(const PTExportOutputOptionSet& subset)
{
    subsets_.removeIf([&subset](const PTExportOutputOptionSet& held) { return held.equalsSet(subset); });
}

bool PTExportOutputOptionSet::equalsSet(const PTExportOutputOptionSet& other) const
{
    return name == other.name && identifier == other.identifier && sort == other.sort
           && std::equal(options_.begin(), options_.end(), other.options_.begin(), other.options_.end(),
                         [](const PTExportOutputOption& a, const PTExportOutputOption& b) { return a.equalsOption(b); })
           && std::equal(subsets_.begin(), subsets_.end(), other.subsets_.begin(), other.subsets_.end(),
                         [](const PTExportOutputOptionSet& a, const PTExportOutputOptionSet& b) { return a.equalsSet(b); });
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

QVariant PTExportOutputOptionSet::archivedObject() const
{
    QVariantList options, subsets;
    for (const PTExportOutputOption& option : options_)
        options.append(option.archivedObject());
    for (const PTExportOutputOptionSet& subset : subsets_)
        subsets.append(subset.archivedObject());
    return QVariantMap{{pt::KeyedArchive::ClassesKey, QStringList{ClassName, QStringLiteral("NSObject")}},
                       {kOptions, options},
                       {kSubsets, subsets}};
}

// The archive reader's depth limit bounds the nesting of subsets, and so this recursion.
std::optional<PTExportOutputOptionSet> PTExportOutputOptionSet::fromArchivedObject(const QVariant& object)
{
    const QVariantMap fields = object.toMap();
    const QVariant options = fields.value(kOptions);
    const QVariant subsets = fields.value(kSubsets);
    if (object.typeId() != QMetaType::QVariantMap
        || fields.value(pt::KeyedArchive::ClassesKey).toStringList().value(0) != ClassName
        || (options.isValid() && options.typeId() != QMetaType::QVariantList)
        || (subsets.isValid() && subsets.typeId() != QMetaType::QVariantList))
        return std::nullopt;
    PTExportOutputOptionSet set;
    set.identifier.clear();
    for (const QVariant& element : options.toList()) {
        const auto option = PTExportOutputOption::fromArchivedObject(element);
        if (!option)
            return std::nullopt;
        set.options_.append(*option);
    }
    for (const QVariant& element : subsets.toList()) {
        const auto subset = fromArchivedObject(element);
        if (!subset)
            return std::nullopt;
        set.subsets_.append(*subset);
    }
    return set;
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
