#pragma once

#include "browser/cache/PTImageCacheOptions.h"

#include <QHash>
#include <QString>

#include <list>

// Stored renderings by key, least recently used first out, within a count and a byte budget (each rendering
// costs its image's bytes). The newest rendering always stays, even alone over the budget. One thread.
class ImageCacheLRU {
public:
    void setLimits(int count, qint64 bytes);
    int countLimit() const { return countLimit_; }
    qint64 byteLimit() const { return byteLimit_; }

    // The rendering under the key, now the most recently used; null when there is none.
    const PTImageCacheOptions* object(const QString& key);
    // Replaces what the key held, then evicts down to the limits.
    void insert(const QString& key, PTImageCacheOptions rendering);
    // Every rendering whose key starts with the prefix.
    void removePrefix(const QString& prefix);
    void clear();

    int count() const { return static_cast<int>(index_.size()); }
    qint64 totalBytes() const { return bytes_; }

private:
    using Entry = std::pair<QString, PTImageCacheOptions>;
    void erase(std::list<Entry>::iterator it);
    void evict();

    std::list<Entry> order_; // most recently used first
    QHash<QString, std::list<Entry>::iterator> index_;
    qint64 bytes_ = 0;
    int countLimit_ = 0;
    qint64 byteLimit_ = 0;
};
