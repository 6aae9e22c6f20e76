#include "library/controllers/PTTagController.h"

#include "foundation/StringAdditions.h"
#include "library/entities/PTItem.h"

#include <QFile>

#include <sys/xattr.h>

namespace {
// Tags are short; a larger value is not a tag list.
constexpr ssize_t MaxTagsAttributeSize = 64 * 1024;
} // namespace

bool PTTagController::isValid(const QString& tag)
{
    return !stringAdditions::isNumeric(tag) && tag.size() > 1;
}

QSet<QString> PTTagController::tagsForString(const QString& text)
{
    QSet<QString> tags;
    for (const QString& piece : stringAdditions::componentsSeparatedByChars(text, Separators)) {
        if (isValid(piece))
            tags.insert(piece);
    }
    return tags;
}

QStringList PTTagController::fileTags(const QString& path)
{
    const QByteArray file = QFile::encodeName(path);
    const ssize_t size = ::getxattr(file.constData(), FileTagsAttribute, nullptr, 0);
    if (size <= 0 || size > MaxTagsAttributeSize)
        return {};
    QByteArray value(size, Qt::Uninitialized);
    const ssize_t read = ::getxattr(file.constData(), FileTagsAttribute, value.data(), value.size());
    if (read <= 0)
        return {};
    value.truncate(read);
    return stringAdditions::componentsSeparatedByChars(QString::fromUtf8(value), ",");
}

void PTTagController::autoApplyTagsToItem(PTItem* item)
{
    applyTagsStringArray(stringAdditions::componentsSeparatedByChars(item->name(), Separators), {item}, false);
}

void PTTagController::applyTagsFromResourceValue(PTItem* item, const QString& path)
{
    const QStringList tags = fileTags(path);
    if (!tags.isEmpty())
        applyTagsStringArray(tags, {item}, false);
}

void PTTagController::applyTagsStringArray(const QStringList& tags, const QVector<PTItem*>& items, bool removeExisting)
{
    for (PTItem* item : items) {
        if (removeExisting)
            item->setTagsString(QStringLiteral(""));
        QSet<QString> components = item->tagComponents();
        QSet<QString> normalized;
        for (const QString& tag : components)
            normalized.insert(stringAdditions::normalizedString(tag));
        for (const QString& tag : tags) {
            const QString form = stringAdditions::normalizedString(tag);
            if (!normalized.contains(form) && isValid(form)) {
                normalized.insert(form);
                components.insert(tag);
            }
        }
        item->setTagsStringFromComponents(components);
    }
}

void PTTagController::removeTagsStringsArray(const QStringList& tags, const QVector<PTItem*>& items)
{
    if (tags.isEmpty() || items.isEmpty())
        return;
    QSet<QString> removed;
    for (const QString& tag : tags)
        removed.insert(stringAdditions::normalizedString(tag));
    for (PTItem* item : items) {
        QHash<QString, QString> map = item->tagMap();
        for (const QString& form : removed)
            map.remove(form);
        const QList<QString> kept = map.values();
        item->setTagsStringFromComponents(QSet<QString>(kept.begin(), kept.end()));
    }
}

QStringList PTTagController::parseNameForItem(PTItem* item)
{
    QStringList words;
    for (const QString& word : stringAdditions::componentsSplitByWhiteSpace(item->name()))
        words << stringAdditions::normalizedString(word);
    return words;
}
