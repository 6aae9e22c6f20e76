#include "browser/cache/PTImageCache.h"

#include "browser/cache/PTImageCacheJob.h"
#include "browser/cache/PTImageCacheRenderer.h"
#include "library/entities/PTItem.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/OperationQueue.h"

#include <QHash>

#include <cmath>

namespace {

// A request not yet answered.
struct Pending {
    std::shared_ptr<pt::Operation> operation; // null for an answer from memory
    QString key;
    PTImageCacheOptions options;
    PTImageCache::Completion completion;
    // The item's renderings were purged while this one was drawn: answered, not stored.
    bool stale = false;
};

void assertMainThread()
{
    Q_ASSERT_X(pt::DispatchQueue::main().isCurrent(), "PTImageCache", "used off the main thread");
}

// A budget that is not above zero (unset, or written by hand) would keep nothing: the default holds then.
qint64 budgetFromDefaults()
{
    const qint64 megabytes = pt::Defaults::standard().integerForKey(PTImageCache::ByteBudgetKey);
    return (megabytes > 0 ? megabytes : PTImageCache::DefaultByteBudgetMiB) << 20;
}

} // namespace

struct PTImageCache::State {
    pt::OperationQueue queue{QStringLiteral("PTImageCache")};
    QHash<RequestID, Pending> pending;
    RequestID lastID = 0;
};

PTImageCache& PTImageCache::sharedCache()
{
    // Never destroyed: renders may still be under way while the program ends.
    static PTImageCache* shared = [] {
        pt::Defaults& defaults = pt::Defaults::standard();
        defaults.registerDefaults({{ByteBudgetKey, DefaultByteBudgetMiB}});
        auto* cache = new PTImageCache;
        cache->setLimits(CountLimit, budgetFromDefaults());
        QObject::connect(&defaults, &pt::Defaults::changed, &defaults, [cache](const QString& key) {
            if (key == ByteBudgetKey)
                cache->setLimits(CountLimit, budgetFromDefaults());
        });
        return cache;
    }();
    return *shared;
}

QString PTImageCache::cacheKeyForItem(const PTItem& item, const PTImageCacheOptions& options)
{
    const QString uri = item.objectID().uriString();
    return uri.mid(uri.lastIndexOf(QLatin1Char('/')) + 1) + QLatin1Char('@')
        + QString::number(static_cast<qint64>(std::trunc(options.size.width()))) + QLatin1Char('x')
        + QString::number(static_cast<qint64>(std::trunc(options.size.height())));
}

PTImageCache::PTImageCache(int maxConcurrentRenders)
    : state_(std::make_shared<State>())
{
    store_.setLimits(CountLimit, qint64(DefaultByteBudgetMiB) << 20);
    setMaxConcurrentRenders(maxConcurrentRenders);
}

PTImageCache::~PTImageCache()
{
    state_->queue.cancelAllOperations();
}

void PTImageCache::setMaxConcurrentRenders(int count)
{
    state_->queue.setMaxConcurrentOperationCount(count);
}

PTImageCache::RequestID PTImageCache::imageForItem(PTItem* item, const PTImageCacheOptions& options,
                                                   Completion completion)
{
    assertMainThread();
    State& state = *state_;
    if (!item || !item->collection()) {
        if (completion)
            pt::DispatchQueue::main().async([completion] { completion(QImage(), 0, true); });
        return 0;
    }
    const QString key = cacheKeyForItem(*item, options);
    const RequestID requestID = ++state.lastID;
    if (enabled_ && completion) {
        if (const PTImageCacheOptions* stored = store_.object(key); stored && *stored == options) {
            // Answered later like any render, so a purge before then still silences it.
            state.pending.insert(requestID, Pending{nullptr, key, options, completion});
            const QImage image = stored->image;
            const bool invalid = !stored->valid;
            pt::DispatchQueue::main().async([this, weak = std::weak_ptr<State>(state_), requestID, image, invalid] {
                if (weak.lock())
                    deliver(requestID, image, invalid);
            });
            return 0;
        }
    }
    const PTImageCacheJob job = PTImageCacheJob::forItem(*item, options);
    auto operation = state.queue.addOperation([this, weak = std::weak_ptr<State>(state_), requestID, job] {
        const PTImageCacheRendering rendering = PTImageCacheRenderer::render(job);
        pt::DispatchQueue::main().async([this, weak, requestID, rendering] {
            if (weak.lock())
                deliver(requestID, rendering.image, rendering.invalid);
        });
    });
    state.pending.insert(requestID, Pending{std::move(operation), key, options.copy(), std::move(completion)});
    return requestID;
}

void PTImageCache::deliver(RequestID requestID, const QImage& image, bool invalid)
{
    const auto found = state_->pending.constFind(requestID);
    if (found == state_->pending.cend())
        return;
    const Pending pending = found.value();
    state_->pending.erase(found);
    if (pending.operation && !pending.stale && !image.isNull()) {
        PTImageCacheOptions rendering = pending.options;
        rendering.valid = !invalid;
        rendering.image = image;
        store_.insert(pending.key, std::move(rendering));
    }
    if (pending.completion)
        pending.completion(image, requestID, invalid);
}

void PTImageCache::cancelProcessID(RequestID requestID)
{
    assertMainThread();
    const auto found = state_->pending.constFind(requestID);
    if (found == state_->pending.cend())
        return;
    if (found->operation)
        found->operation->cancel();
    state_->pending.erase(found);
}

void PTImageCache::purge()
{
    assertMainThread();
    for (const Pending& pending : std::as_const(state_->pending))
        if (pending.operation)
            pending.operation->cancel();
    state_->pending.clear();
    store_.clear();
}

void PTImageCache::purgeImageForObjectID(const pt::store::ObjectID& objectID)
{
    assertMainThread();
    const QString uri = objectID.uriString();
    const QString prefix = uri.mid(uri.lastIndexOf(QLatin1Char('/')) + 1) + QLatin1Char('@');
    store_.removePrefix(prefix);
    for (Pending& pending : state_->pending)
        if (pending.key.startsWith(prefix))
            pending.stale = true;
}
