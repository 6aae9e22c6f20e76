#include "TestSupport.h"

#include "app/PTOpenedItemsCoalescer.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

QUrl file(const char* path)
{
    return QUrl::fromLocalFile(QString::fromUtf8(path));
}

struct Batch {
    QList<QUrl> urls;
    qint64 at = 0;
};

// What each burst of opened items reaches the handler as, and when.
TEST(OpenedItemsTest, BurstsArriveAsOneBatchInOrderWithoutDuplicates)
{
    struct Case {
        const char* name;
        std::vector<QList<QUrl>> opened; // one entry per call, 100 ms apart
        std::vector<QList<QUrl>> batches;
    };
    const QUrl a = file("/tmp/a.svg"), b = file("/tmp/b.png"), c = file("/tmp/c.pdf");
    const QUrl scheme(QStringLiteral("pictern://download?url=https%3A%2F%2Fexample.org%2Fset.zip"));
    const Case cases[] = {
        {"the same file twice", {{a}, {a}}, {{a}}},
        {"three files one after another", {{a}, {b}, {c}}, {{a, b, c}}},
        {"duplicates inside a call, order kept", {{b, a, b}, {a, c}}, {{b, a, c}}},
        {"the scheme goes at once, files wait", {{a, scheme}, {b}}, {{scheme}, {a, b}}},
        {"paths are cleaned before comparing", {{file("/tmp/x/../a.svg")}, {a}}, {{a}}},
        {"another host's file is dropped", {{QUrl(QStringLiteral("file://elsewhere/tmp/a.svg"))}, {b}}, {{b}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Batch> got;
        QElapsedTimer clock;
        PTOpenedItemsCoalescer coalescer([&](const QList<QUrl>& urls) { got.push_back({urls, clock.elapsed()}); });
        clock.start();
        qint64 lastFileCall = -1;
        for (const QList<QUrl>& call : c.opened) {
            coalescer.open(call);
            lastFileCall = clock.elapsed();
            pt::test::runMainQueueFor(100);
        }
        ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return got.size() == c.batches.size(); }, 2000));
        pt::test::runMainQueueFor(PTOpenedItemsCoalescer::DelayMs + 50);
        ASSERT_EQ(got.size(), c.batches.size());
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_EQ(got[i].urls, c.batches[i]) << "batch " << i;
        // The files wait the whole delay after the last call that brought one.
        EXPECT_GE(got.back().at, lastFileCall + PTOpenedItemsCoalescer::DelayMs - 5);
    }
}

TEST(OpenedItemsTest, LaunchArgumentsBecomeAbsoluteURLs)
{
    QList<QUrl> got;
    PTOpenedItemsCoalescer coalescer([&](const QList<QUrl>& urls) { got += urls; });
    coalescer.openArguments({QStringLiteral("icons/a b.svg"), QStringLiteral("/abs/c.svg"),
                             QStringLiteral("pictern://preferences")},
                            QStringLiteral("/home/user"));
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return got.size() == 3; }));
    EXPECT_EQ(got, (QList<QUrl>{QUrl(QStringLiteral("pictern://preferences")),
                                QUrl::fromLocalFile(QStringLiteral("/home/user/icons/a b.svg")),
                                QUrl::fromLocalFile(QStringLiteral("/abs/c.svg"))}));
}

// One hand-off of many files, a third of them repeats: each file once, where it was first seen. Large enough
// that comparing each file with every one before it does not finish.
TEST(OpenedItemsTest, AHugeHandOffKeepsFirstSeenOrderWithoutDuplicates)
{
    constexpr int Count = 300000;
    QList<QUrl> opened, expected;
    for (int i = 0; i < Count; ++i) {
        if (i % 3 == 2) {
            opened << opened.at(i - 2);
            continue;
        }
        opened << QUrl::fromLocalFile(QStringLiteral("/icons/%1.svg").arg(Count - i));
        expected << opened.last();
    }
    QList<QUrl> got;
    PTOpenedItemsCoalescer coalescer([&](const QList<QUrl>& urls) { got = urls; });
    coalescer.open(opened);
    ASSERT_TRUE(pt::test::runMainQueueUntil([&] { return !got.isEmpty(); }));
    EXPECT_EQ(got, expected);
}

} // namespace
