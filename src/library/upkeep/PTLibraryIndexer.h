#pragma once

#include "platform/store/DidSave.h"
#include "platform/store/StoreCoordinator.h"

#include <memory>

// The work of re-indexing a library: every item's normalised search copies renewed, and the tags made from its
// name and the tags of its file added to its own. Runs off the main thread in a context of its own (the store's
// values win over concurrent edits); the caller merges the answered changes into its context when it is done,
// so nothing waits on the main queue meanwhile.
class PTLibraryIndexer {
public:
    // Indexes every item of the store; a failed save is logged and answers no changes.
    static pt::store::DidSave reindex(const std::shared_ptr<pt::store::StoreCoordinator>& coordinator);
};
