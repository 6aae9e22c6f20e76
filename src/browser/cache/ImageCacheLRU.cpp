#include "browser/cache/ImageCacheLRU.h"

void ImageCacheLRU::setLimits(int count, qint64 bytes)
{
    countLimit_ = count;
    byteLimit_ = bytes;
    evict();
}

const PTImageCacheOptions* ImageCacheLRU::object(const QString& key)
{
    const auto found = index_.constFind(key);
    if (found == index_.cend())
        return nullptr;
    order_.splice(order_.begin(), order_, found.value());
    return &order_.front().second;
}

void ImageCacheLRU::insert(const QString& key, PTImageCacheOptions rendering)
{
    if (const auto found = index_.constFind(key); found != index_.cend())
        erase(found.value());
    bytes_ += rendering.image.sizeInBytes();
    order_.emplace_front(key, std::move(rendering));
    index_.insert(key, order_.begin());
    evict();
}

void ImageCacheLRU::removePrefix(const QString& prefix)
{
    for (auto it = order_.begin(); it != order_.end();) {
        const auto next = std::next(it);
        if (it->first.startsWith(prefix))
            erase(it);
        it = next;
    }
}

void ImageCacheLRU::clear()
{
    order_.clear();
    index_.clear();
    bytes_ = 0;
}

void ImageCacheLRU::erase(std::list<Entry>::iterator it)
{
    bytes_ -= it->second.image.sizeInBytes();
    index_.remove(it->first);
    order_.erase(it);
}

void ImageCacheLRU::evict()
{
    while (order_.size() > 1 && (count() > countLimit_ || bytes_ > byteLimit_))
        erase(std::prev(order_.end()));
}
