#include "LibraryTestSupport.h"
#include "TestSupport.h"
#include "browser/cache/PTImageCache.h"
#include "browser/cache/PTImageCacheRenderer.h"
#include "platform/runtime/Defaults.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

PTImageCacheOptions optionsOfSize(qreal points)
{
    PTImageCacheOptions options;
    options.size = QSizeF(points, points);
    return options;
}

TEST(ImageCacheOptionsTest, EqualityComparesColoursAndMapsByValue)
{
    const PTImageCacheOptions base = optionsOfSize(64);
    const auto with = [&](auto change) {
        PTImageCacheOptions options = base;
        change(options);
        return options;
    };
    const QHash<QRgb, QColor> map{{qRgb(1, 2, 3), QColor(Qt::red)}};
    const struct {
        const char* name;
        PTImageCacheOptions a;
        PTImageCacheOptions b;
        bool equal;
    } cases[] = {
        {"same", base, base, true},
        {"63.9 and 63.2", optionsOfSize(63.9), optionsOfSize(63.2), false},
        {"enlarge", base, with([](auto& o) { o.allowEnlarge = false; }), false},
        {"colour of equal value", with([](auto& o) { o.color = QColor(255, 0, 0); }),
         with([](auto& o) { o.color = QColor::fromRgbF(1, 0, 0); }), true},
        {"colour against none", with([](auto& o) { o.color = Qt::red; }), base, false},
        {"other colour", with([](auto& o) { o.color = Qt::red; }), with([](auto& o) { o.color = Qt::blue; }), false},
        {"maps equal", with([&](auto& o) { o.replacementColors = map; }),
         with([&](auto& o) { o.replacementColors = map; }), true},
        {"map against none", with([&](auto& o) { o.replacementColors = map; }), base, false},
        {"none against map", base, with([&](auto& o) { o.replacementColors = map; }), false},
        {"empty map against none", with([](auto& o) { o.replacementColors = QHash<QRgb, QColor>(); }), base, true},
        {"other value", with([&](auto& o) { o.replacementColors = map; }),
         with([](auto& o) { o.replacementColors = QHash<QRgb, QColor>{{qRgb(1, 2, 3), QColor(Qt::blue)}}; }), false},
        {"scale", base, with([](auto& o) { o.scale = 2; }), false},
        {"image and validity take no part", base, with([](auto& o) {
             o.valid = true;
             o.image = QImage(2, 2, QImage::Format_ARGB32);
         }),
         true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.a == c.b, c.equal) << c.name;
        EXPECT_EQ(c.b == c.a, c.equal) << c.name;
    }
}

// A cache of its own over items of a real library.
class ImageCacheTest : public pt::test::LibraryTest {
protected:
    struct Answer {
        QImage image;
        PTImageCache::RequestID requestID = 0;
        bool invalid = false;
        int calls = 0;
    };

    void SetUp() override
    {
        LibraryTest::SetUp();
        set = makeSet(QStringLiteral("Icons"));
    }

    PTItem* item(const QString& name, qint64 type = PTItem::SVG, const QString& source = {})
    {
        PTItem* made = makeItem(set, name, name + QLatin1Char('.') + PTItem::extensionForType(type), source);
        made->setType(type);
        return made;
    }
    PTImageCache::Completion recorder(Answer& answer)
    {
        return [&answer](const QImage& image, PTImageCache::RequestID id, bool invalid) {
            answer = {image, id, invalid, answer.calls + 1};
        };
    }
    // Requests and waits for the answer.
    Answer fetch(PTItem* target, const PTImageCacheOptions& options)
    {
        Answer answer;
        cache.imageForItem(target, options, recorder(answer));
        EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return answer.calls > 0; }));
        return answer;
    }

    PTImageCache cache;
    PTCollection* set = nullptr;
};

TEST_F(ImageCacheTest, KeyNamesTheItemAndTheTruncatedSize)
{
    PTItem* icon = item(QStringLiteral("go"));
    saveAndWait();
    const QString uri = icon->objectID().uriString();
    const QString last = uri.mid(uri.lastIndexOf('/') + 1);
    EXPECT_TRUE(last.startsWith('p'));
    EXPECT_EQ(PTImageCache::cacheKeyForItem(*icon, optionsOfSize(64)), last + "@64x64");
    EXPECT_EQ(PTImageCache::cacheKeyForItem(*icon, optionsOfSize(63.9)), last + "@63x63");
    EXPECT_EQ(PTImageCache::cacheKeyForItem(*icon, optionsOfSize(63.2)), last + "@63x63");
}

TEST_F(ImageCacheTest, AnEqualRenderingIsAnsweredLaterWithoutAnID)
{
    PTItem* icon = item(QStringLiteral("go"));
    Answer first;
    const PTImageCache::RequestID id = cache.imageForItem(icon, optionsOfSize(32), recorder(first));
    EXPECT_NE(id, 0U);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return first.calls > 0; }));
    EXPECT_EQ(first.requestID, id);
    EXPECT_FALSE(first.invalid);
    EXPECT_EQ(first.image.size(), QSize(32, 32));

    Answer hit;
    EXPECT_EQ(cache.imageForItem(icon, optionsOfSize(32), recorder(hit)), 0U);
    EXPECT_EQ(hit.calls, 0) << "never inside the request";
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return hit.calls > 0; }));
    EXPECT_NE(hit.requestID, 0U);
    EXPECT_NE(hit.requestID, id);
    EXPECT_EQ(hit.image.cacheKey(), first.image.cacheKey()) << "the stored image, not a new render";

    // Without a completion the item is rendered again, and the new rendering is stored.
    const PTImageCache::RequestID again = cache.imageForItem(icon, optionsOfSize(32));
    EXPECT_NE(again, 0U);
    const QString key = PTImageCache::cacheKeyForItem(*icon, optionsOfSize(32));
    ASSERT_TRUE(pt::test::runMainQueueUntil(
        [&] { return cache.cachedRendering(key)->image.cacheKey() != first.image.cacheKey(); }));

    // Disabled, a request with a completion renders too.
    cache.setEnabled(false);
    Answer rendered;
    EXPECT_NE(cache.imageForItem(icon, optionsOfSize(32), recorder(rendered)), 0U);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return rendered.calls > 0; }));
}

TEST_F(ImageCacheTest, OtherColoursOrSizesSharingAKeyRenderAndReplace)
{
    PTItem* icon = item(QStringLiteral("go"));
    PTImageCacheOptions tinted = optionsOfSize(32);
    tinted.color = QColor(10, 20, 30);
    const Answer plain = fetch(icon, optionsOfSize(32));
    const Answer first = fetch(icon, tinted);
    EXPECT_NE(first.requestID, plain.requestID);
    tinted.color = QColor::fromRgbF(10 / 255.0, 20 / 255.0, 30 / 255.0);
    EXPECT_EQ(fetch(icon, tinted).image.cacheKey(), first.image.cacheKey()) << "a value-equal colour hits";
    EXPECT_EQ(cache.count(), 1);

    const Answer large = fetch(icon, optionsOfSize(63.9));
    const Answer small = fetch(icon, optionsOfSize(63.2));
    EXPECT_NE(large.image.cacheKey(), small.image.cacheKey());
    EXPECT_EQ(cache.count(), 2);
    EXPECT_EQ(*cache.cachedRendering(PTImageCache::cacheKeyForItem(*icon, optionsOfSize(63))), optionsOfSize(63.2));
}

TEST_F(ImageCacheTest, CancelledAndPurgedRequestsNeverAnswer)
{
    PTItem* icon = item(QStringLiteral("go"));
    Answer cancelled;
    cache.cancelProcessID(cache.imageForItem(icon, optionsOfSize(16), recorder(cancelled)));
    Answer purged;
    cache.imageForItem(icon, optionsOfSize(24), recorder(purged));
    cache.purge();
    pt::test::runMainQueueFor(300);
    EXPECT_EQ(cancelled.calls + purged.calls, 0);
    EXPECT_EQ(cache.count(), 0) << "a dropped render is not stored";

    // An answer from memory is silenced by a purge too, and finished or unknown IDs cancel nothing.
    const Answer stored = fetch(icon, optionsOfSize(16));
    cache.cancelProcessID(stored.requestID);
    cache.cancelProcessID(987654);
    EXPECT_EQ(cache.count(), 1);
    Answer hit;
    cache.imageForItem(icon, optionsOfSize(16), recorder(hit));
    cache.purge();
    pt::test::runMainQueueFor(100);
    EXPECT_EQ(hit.calls, 0);
}

TEST_F(ImageCacheTest, MissingItemsAndBrokenFilesAnswerInvalid)
{
    Answer none;
    EXPECT_EQ(cache.imageForItem(nullptr, optionsOfSize(16), recorder(none)), 0U);
    EXPECT_EQ(none.calls, 0);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return none.calls > 0; }));
    EXPECT_TRUE(none.invalid);
    EXPECT_TRUE(none.image.isNull());

    PTItem* broken = item(QStringLiteral("broken"));
    QFile file(broken->fileURL().toLocalFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("<svg xmlns='http://www.w3.org/2000/svg'><rect wi");
    file.close();
    const Answer failure = fetch(broken, optionsOfSize(20));
    EXPECT_TRUE(failure.invalid);
    EXPECT_EQ(failure.image, PTImageCacheRenderer::failureImage(QSize(20, 20), 1));
    const PTImageCacheOptions* stored = cache.cachedRendering(PTImageCache::cacheKeyForItem(*broken, optionsOfSize(20)));
    ASSERT_NE(stored, nullptr);
    EXPECT_FALSE(stored->valid);
    EXPECT_TRUE(fetch(broken, optionsOfSize(20)).invalid) << "served again as invalid from memory";
}

TEST_F(ImageCacheTest, StaysWithinItsByteBudgetAndForgetsOneItemAtEverySize)
{
    PTItem* a = item(QStringLiteral("a"));
    PTItem* b = item(QStringLiteral("b"));
    PTItem* c = item(QStringLiteral("c"));
    const qint64 oneRendering = 64 * 64 * 4;
    cache.setLimits(PTImageCache::CountLimit, 2 * oneRendering);
    for (PTItem* icon : {a, b, c})
        fetch(icon, optionsOfSize(64));
    EXPECT_EQ(cache.count(), 2);
    EXPECT_EQ(cache.totalBytes(), 2 * oneRendering);
    EXPECT_EQ(cache.cachedRendering(PTImageCache::cacheKeyForItem(*a, optionsOfSize(64))), nullptr);

    cache.setLimits(PTImageCache::CountLimit, qint64(64) << 20);
    fetch(b, optionsOfSize(16));
    fetch(b, optionsOfSize(24));
    EXPECT_EQ(cache.count(), 4);
    cache.purgeImageForObjectID(b->objectID());
    EXPECT_EQ(cache.count(), 1);
    EXPECT_NE(cache.cachedRendering(PTImageCache::cacheKeyForItem(*c, optionsOfSize(64))), nullptr);
}

TEST_F(ImageCacheTest, TheSharedCacheFollowsTheBudgetSetting)
{
    PTImageCache& shared = PTImageCache::sharedCache();
    EXPECT_EQ(shared.byteBudget(), qint64(256) << 20);
    pt::Defaults::standard().set(PTImageCache::ByteBudgetKey, 64);
    EXPECT_EQ(shared.byteBudget(), qint64(64) << 20);
    pt::Defaults::standard().set(PTImageCache::ByteBudgetKey, -5);
    EXPECT_EQ(shared.byteBudget(), qint64(256) << 20) << "a budget that keeps nothing falls back to the default";
    pt::Defaults::standard().remove(PTImageCache::ByteBudgetKey);
    EXPECT_EQ(shared.byteBudget(), qint64(256) << 20);
}

// Two workers render many icons while the main thread cancels and purges; run under ThreadSanitizer too.
TEST_F(ImageCacheTest, WorkersRenderWhileTheMainThreadCancelsAndPurges)
{
    QStringList sources;
    QDirIterator it(QStringLiteral("/usr/share/icons/Papirus/48x48/apps"), {QStringLiteral("*.svg")}, QDir::Files);
    while (it.hasNext() && sources.size() < 1000)
        sources << it.next();
    ASSERT_GE(sources.size(), 100);
    std::vector<PTItem*> items;
    for (int i = 0; i < 200; ++i)
        items.push_back(item(QStringLiteral("icon%1").arg(i), PTItem::SVG, sources[i]));
    saveAndWait();
    int answered = 0;
    QRandomGenerator random(7);
    std::vector<PTImageCache::RequestID> ids;
    for (int i = 0; i < sources.size(); ++i) {
        const auto completion = [&answered](const QImage& image, PTImageCache::RequestID, bool) {
            EXPECT_FALSE(image.isNull());
            ++answered;
        };
        ids.push_back(cache.imageForItem(items[size_t(i) % items.size()], optionsOfSize(24 + i % 5), completion));
        if (random.bounded(4) == 0)
            cache.cancelProcessID(ids[random.bounded(static_cast<quint32>(ids.size()))]);
        // Purges fall mid-run, never last, so what was asked after the last one is still there to be answered.
        if (i % 250 == 100) {
            pt::test::runMainQueueFor(5);
            cache.purge();
        }
        if (i % 7 == 0)
            QCoreApplication::processEvents();
    }
    // What is still asked for after the last purge is answered and stored.
    Answer last;
    cache.imageForItem(items.front(), optionsOfSize(40), recorder(last));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return last.calls > 0; }, 20000));
    EXPECT_FALSE(last.invalid);
    EXPECT_TRUE(pt::test::runMainQueueUntil([&] { return answered > 0; }, 20000));
}

} // namespace
