#pragma once

#include "browser/cache/ImageCacheLRU.h"
#include "browser/cache/PTImageCacheOptions.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>

class PTItem;
namespace pt::store {
class ObjectID;
}

// The one cache of item thumbnails. Requests, cancellations and purges come on the main thread, which also keeps
// the stored renderings; renders run on a queue of workers (two by default) that carry only values taken at the
// request. Every answer, also one from memory, comes later on the main queue; a cancelled or purged request never
// answers. The cache holds at most one rendering per item and size (a rendering with other colours replaces it),
// within a count cap and a byte budget the user's settings give.
class PTImageCache {
public:
    // 0 is no request.
    using RequestID = quint64;
    // The image is the failure picture (or null, when the item cannot be rendered at all) where invalid is true.
    using Completion = std::function<void(const QImage& image, RequestID requestID, bool invalid)>;

    static constexpr int CountLimit = 5000;
    static constexpr int DefaultMaxConcurrentRenders = 2;
    // The byte budget in MiB.
    static inline const QString ByteBudgetKey = QStringLiteral("PTImageCacheByteBudget");
    static constexpr int DefaultByteBudgetMiB = 256;

    // Made on first use, following the budget setting (registered here).
    static PTImageCache& sharedCache();
    // "<last component of the item's object URI>@<width>x<height>", the size in points truncated: "p42@64x64".
    static QString cacheKeyForItem(const PTItem& item, const PTImageCacheOptions& options);

    explicit PTImageCache(int maxConcurrentRenders = DefaultMaxConcurrentRenders);
    // Waits for the renders under way; their answers are dropped.
    ~PTImageCache();
    PTImageCache(const PTImageCache&) = delete;
    PTImageCache& operator=(const PTImageCache&) = delete;

    // Answers an equal stored rendering (enabled, with a completion) without a request ID: the completion gets an
    // ID the caller never saw. Otherwise queues a render and answers its ID, which the completion gets back. An
    // item that is missing or in no set answers no image, invalid, without an ID. Without a completion the item
    // is always rendered and stored.
    RequestID imageForItem(PTItem* item, const PTImageCacheOptions& options, Completion completion = {});
    // The request's render is not started if it has not begun, and it does not answer. Unknown IDs do nothing.
    void cancelProcessID(RequestID requestID);
    // Cancels every request and forgets every rendering.
    void purge();
    // Forgets the item's renderings at every size.
    void purgeImageForObjectID(const pt::store::ObjectID& objectID);

    // Off skips looking up stored renderings; results are still stored.
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    void setLimits(int count, qint64 bytes) { store_.setLimits(count, bytes); }
    qint64 byteBudget() const { return store_.byteLimit(); }
    void setMaxConcurrentRenders(int count);

    // What is stored.
    int count() const { return store_.count(); }
    qint64 totalBytes() const { return store_.totalBytes(); }
    const PTImageCacheOptions* cachedRendering(const QString& key) { return store_.object(key); }

private:
    struct State;
    void deliver(RequestID requestID, const QImage& image, bool invalid);

    bool enabled_ = true;
    ImageCacheLRU store_;
    std::shared_ptr<State> state_;
};
