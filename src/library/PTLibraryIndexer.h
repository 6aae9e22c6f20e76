#pragma once

#include "platform/store/DidSave.h"
#include "platform/store/StoreCoordinator.h"

#include <QStringList>

#include <memory>

// The work of re-indexing a library: every item's normalised search copies renewed, and the tags made from its
// name and the tags of its file added to its own. Runs off the main thread in a context of its own (the store's
// values win over concurrent edits); the caller merges the answered changes into its context when it is done,
// so nothing waits on the main queue meanwhile.
//
// Items are read and written through the attribute keys of the model.
class PTLibraryIndexer {
public:
    // The file's tags, as the desktop keeps them (a comma-separated extended attribute).
    static inline const char* const FileTagsAttribute = "user.xdg.tags";

    // Indexes every item of the store; a failed save is logged and answers no changes.
    static pt::store::DidSave reindex(const std::shared_ptr<pt::store::StoreCoordinator>& coordinator,
                                      const QString& libraryPath);
    // The tags string with the tags added that are valid and not there yet (compared in normal form); existing
    // tags are kept as they are.
    static QString addingTags(const QString& tagsString, const QStringList& tags);
    static QStringList fileTags(const QString& path);
};
