#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

class PTItem;

// The rules for item tags: how a text is cut into tags and which tags are valid. Two tags are the same tag when
// their normalised forms are equal. Stateless; the item operations run in whichever context the items live.
class PTTagController {
public:
    // The characters that cut a text into tags, in this order.
    static inline const char* const Separators = " _,-";

    // A tag is valid when it is not numeric (the empty string counts as numeric) and longer than one character.
    static bool isValid(const QString& tag);
    // The valid pieces of the text cut at the separators.
    static QSet<QString> tagsForString(const QString& text);

    // The extended attribute in which file managers keep a file's tags, joined by ",".
    static inline const char* const FileTagsAttribute = "user.xdg.tags";
    // The tags of the file; none when it has none or they cannot be read.
    static QStringList fileTags(const QString& path);

    // Applies the pieces of the item's name cut at the separators, keeping its tags.
    static void autoApplyTagsToItem(PTItem* item);
    // Applies the file's tags to the item when it has any, keeping its tags.
    static void applyTagsFromResourceValue(PTItem* item, const QString& path);
    // Adds each valid tag that an item does not carry yet (in any case or accent form) to each item; with
    // removeExisting the items' tags are cleared first.
    static void applyTagsStringArray(const QStringList& tags, const QVector<PTItem*>& items, bool removeExisting);
    // Removes the tags, compared by their normalised forms, from each item.
    static void removeTagsStringsArray(const QStringList& tags, const QVector<PTItem*>& items);
    // The normalised words of the item's name.
    static QStringList parseNameForItem(PTItem* item);
};
