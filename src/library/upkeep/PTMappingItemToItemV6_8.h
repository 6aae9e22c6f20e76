#pragma once

#include "platform/store/MigrationStep.h"

#include <QStringList>

// The item mapping from the models that kept tags as PTTag rows joined through PTTags (versions 6 and 7) to the
// current one: the tags move into the item's tagsString, and the three normalised search columns are filled.
class PTMappingItemToItemV6_8 {
public:
    static inline const QString SearchIndexFileName = QStringLiteral("SearchIndex.db");

    // The tag names joined by "," without repeats, in the order given; without tags, the tags made from the
    // item's name.
    static QString tagsStringForItem(const QStringList& tagNames, const QString& name);
    static QString normalizedString(const QString& string);
    // Fills tagsString and the normalised columns of every copied item from the attached source store.
    static pt::store::MigrationStep::EntityPolicy policy();
    // Deletes the search index of the older layout next to the migrated store (errors ignored).
    static void endEntityMapping(const QString& storePath);
};
