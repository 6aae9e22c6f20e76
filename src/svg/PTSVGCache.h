#pragma once

#include <QString>

#include <memory>

class PTSVGParser;

// Recently parsed documents by file, so that a file loaded again is not parsed again. It keeps parsed trees,
// which are immutable: every load still gets a document of its own (its own overrides and layer tree) over the
// shared tree. An entry is found only while the file's modification time is the one it was parsed at.
// Process-wide and thread-safe; enabled at start, with room for 20 trees (the oldest go first).
class PTSVGCache {
public:
    static constexpr int DefaultEvictItemsAfter = 20;

    // Off empties the cache; on makes it work again.
    static void setEnabled(bool enabled);
    static bool enabled();
    // The tree parsed from the file, or null when disabled or not cached.
    static std::shared_ptr<const PTSVGParser> cachedTreeForFile(const QString& path);
    static void cacheTree(const std::shared_ptr<const PTSVGParser>& tree, const QString& path);
    static void purgeCachedTreeForFile(const QString& path);
    static void setEvictItemsAfter(int count);
    static void flushCache();
    static int count();
};
