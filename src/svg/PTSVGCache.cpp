#include "svg/PTSVGCache.h"

#include "svg/parse/PTSVGParser.h"

#include <QCache>
#include <QDateTime>
#include <QFileInfo>

#include <mutex>

namespace {

struct CacheState {
    std::mutex mutex;
    bool enabled = true;
    QCache<QString, std::shared_ptr<const PTSVGParser>> trees{PTSVGCache::DefaultEvictItemsAfter};
};

CacheState& state()
{
    static CacheState cache;
    return cache;
}

// The file's absolute path and modification time: an edited file is parsed anew.
QString keyForFile(const QString& path)
{
    const QFileInfo info(path);
    return info.absoluteFilePath() + QLatin1Char('\n') + QString::number(info.lastModified().toMSecsSinceEpoch());
}

} // namespace

void PTSVGCache::setEnabled(bool enabled)
{
    CacheState& cache = state();
    std::lock_guard guard(cache.mutex);
    cache.enabled = enabled;
    if (!enabled)
        cache.trees.clear();
}

bool PTSVGCache::enabled()
{
    CacheState& cache = state();
    std::lock_guard guard(cache.mutex);
    return cache.enabled;
}

std::shared_ptr<const PTSVGParser> PTSVGCache::cachedTreeForFile(const QString& path)
{
    const QString key = keyForFile(path);
    CacheState& cache = state();
    std::lock_guard guard(cache.mutex);
    if (!cache.enabled)
        return nullptr;
    const auto* tree = cache.trees.object(key);
    return tree ? *tree : nullptr;
}

void PTSVGCache::cacheTree(const std::shared_ptr<const PTSVGParser>& tree, const QString& path)
{
    if (!tree)
        return;
    const QString key = keyForFile(path);
    CacheState& cache = state();
    std::lock_guard guard(cache.mutex);
    if (cache.enabled)
        cache.trees.insert(key, new std::shared_ptr<const PTSVGParser>(tree), 1);
}

void PTSVGCache::purgeCachedTreeForFile(const QString& path)
{
    const QString key = keyForFile(path);
    CacheState& cache = state();
    std::lock_guard guard(cache.mutex);
    cache.trees.remove(key);
}

void PTSVGCache::setEvictItemsAfter(int count)
{
    CacheState& cache = state();
    std::lock_guard guard(cache.mutex);
    cache.trees.setMaxCost(count);
}

void PTSVGCache::flushCache()
{
    CacheState& cache = state();
    std::lock_guard guard(cache.mutex);
    cache.trees.clear();
}

int PTSVGCache::count()
{
    CacheState& cache = state();
    std::lock_guard guard(cache.mutex);
    return cache.trees.count();
}
