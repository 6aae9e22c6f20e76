#include "library/PTLibraryIndexer.h"

#include "foundation/StringAdditions.h"
#include "library/ContextAdditions.h"
#include "library/PTLibraryController.h"
#include "library/PTTagController.h"
#include "platform/runtime/Logging.h"
#include "platform/store/ObjectContext.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <sys/xattr.h>

using pt::store::DidSave;
using pt::store::ManagedObject;
using pt::store::ObjectContext;

namespace {

const QString Name = QStringLiteral("name");
const QString NameNormalized = QStringLiteral("nameNormalized");
const QString TagsString = QStringLiteral("tagsString");
const QString TagsStringNormalized = QStringLiteral("tagsStringNormalized");
const QString InformativeText = QStringLiteral("informativeText");
const QString InformativeTextNormalized = QStringLiteral("informativeTextNormalized");

// Stores the value with its normal form beside it, as the item's setters do.
void setWithNormalized(ManagedObject* item, const QString& key, const QString& normalizedKey, const QVariant& value)
{
    item->setValue(key, value);
    item->setValue(normalizedKey, value.isNull() ? QVariant() : QVariant(stringAdditions::normalizedString(value.toString())));
}

QString itemFilePath(ManagedObject* item, const QString& libraryPath)
{
    ManagedObject* set = item->toOne(QStringLiteral("collection"));
    const QString identifier = set ? set->value(QStringLiteral("identifier")).toString() : QString();
    const QString fileName = item->value(QStringLiteral("newFileName")).toString();
    if (identifier.isEmpty() || fileName.isEmpty())
        return {};
    return QDir(libraryPath).filePath(QStringLiteral("%1/%2/%3").arg(PTLibraryController::SetsFolderName, identifier, fileName));
}

} // namespace

QString PTLibraryIndexer::addingTags(const QString& tagsString, const QStringList& tags)
{
    QStringList components = stringAdditions::componentsSeparatedByChars(tagsString, ",");
    QSet<QString> known;
    for (const QString& tag : std::as_const(components))
        known.insert(stringAdditions::normalizedString(tag));
    for (const QString& tag : tags) {
        const QString normal = stringAdditions::normalizedString(tag);
        if (known.contains(normal) || !PTTagController::isValid(tag))
            continue;
        known.insert(normal);
        components << tag;
    }
    return components.join(u',');
}

QStringList PTLibraryIndexer::fileTags(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    QByteArray value(4096, '\0');
    const ssize_t size = getxattr(name.constData(), FileTagsAttribute, value.data(), size_t(value.size()));
    if (size <= 0)
        return {};
    value.truncate(size);
    QStringList tags;
    for (const QString& tag : QString::fromUtf8(value).split(u',', Qt::SkipEmptyParts))
        if (!tag.trimmed().isEmpty())
            tags << tag.trimmed();
    return tags;
}

DidSave PTLibraryIndexer::reindex(const std::shared_ptr<pt::store::StoreCoordinator>& coordinator,
                                  const QString& libraryPath)
{
    ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
    context.setMergePolicy(pt::store::MergePolicy::StoreTrumpByProperty);
    DidSave saved;
    const auto token = context.onDidSave([&saved](const DidSave& changes) { saved = changes; });
    pt::store::FetchRequest request;
    request.entityName = QStringLiteral("PTItem");
    request.returnsObjectsAsFaults = false;
    request.prefetch = {QStringLiteral("collection")};
    auto items = context.fetch(request);
    if (!items) {
        qCWarning(lcLibrary).noquote() << "re-index: items not read:" << items.error().toString();
        return {};
    }
    for (ManagedObject* item : std::as_const(*items)) {
        setWithNormalized(item, Name, NameNormalized, item->value(Name));
        setWithNormalized(item, InformativeText, InformativeTextNormalized, item->value(InformativeText));
        const QString name = item->value(Name).toString();
        QStringList nameTags = PTTagController::tagsForString(name).values();
        nameTags.sort();
        QString tags = addingTags(item->value(TagsString).toString(), nameTags);
        const QString file = itemFilePath(item, libraryPath);
        if (!file.isEmpty())
            tags = addingTags(tags, fileTags(file));
        setWithNormalized(item, TagsString, TagsStringNormalized, tags);
    }
    if (auto r = context.save(); !r)
        qCWarning(lcLibrary).noquote() << "re-index: not saved:" << r.error().toString();
    context.processPendingChanges();
    contextAdditions::resetAndBreakCycles(context);
    return saved;
}
