#include "LibraryTestSupport.h"

#include "browser/controller/PTGridViewDataProvider.h"
#include "browser/controller/PTGridViewSearchDataProvider.h"
#include "library/entities/PTGroup.h"

namespace {

class GridDataProviderTest : public pt::test::LibraryTest {
protected:
    PTItem* item(PTCollection* set, const QString& name)
    {
        PTItem* made = PTItem::insert(context());
        made->setName(name);
        made->setCollection(set);
        return made;
    }
    static QStringList names(const QVector<PTItem*>& items)
    {
        QStringList result;
        for (PTItem* made : items)
            result << made->name();
        return result;
    }
    static QStringList section(PTGridViewDataProvider& provider, qint64 section)
    {
        QStringList result;
        for (qint64 i = 0; i < provider.numberOfItemsInSection(section); ++i)
            result << provider.itemForIndexPath({section, i})->name();
        return result;
    }
};

// Names compare by their UTF-8 bytes with ASCII case ignored: digits before letters, accented letters last.
TEST_F(GridDataProviderTest, SectionsInSourceListOrderSortedByUtf8NameOnFirstRead)
{
    PTCollection* b = makeSet(QStringLiteral("B"));
    PTCollection* a = makeSet(QStringLiteral("A"));
    b->setSort(1);
    a->setSort(0);
    QVector<PTItem*> items;
    for (const char* name : {"z", "\xC3\x89", "a", "10", "B", "9", "c"})
        items << item(b, QString::fromUtf8(name));
    items << item(a, QStringLiteral("only")) << item(nullptr, QStringLiteral("homeless"));
    saveAndWait();

    PTGridViewDataProvider provider;
    provider.setItems(items);
    ASSERT_EQ(provider.numberOfSections(), 2);
    EXPECT_EQ(provider.collections(), (QVector<PTCollection*>{a, b}));
    EXPECT_EQ(provider.numberOfItemsInSection(1), 7);
    EXPECT_EQ(provider.collectionForSection(1), b);
    // Looking an item up sorts its section first: "z" is shown sixth.
    EXPECT_EQ(provider.indexPathForItem(items[0]), (GridIndexPath{1, 5}));
    EXPECT_EQ(section(provider, 1), (QStringList{"10", "9", "a", "B", "c", "z", QString::fromUtf8("\xC3\x89")}));
    EXPECT_EQ(provider.itemForIndexPath({1, 7}), nullptr);
    EXPECT_EQ(provider.itemForIndexPath({2, 0}), nullptr);
    EXPECT_EQ(provider.pathComponentsForSection(1), QStringList{"B"});
    EXPECT_EQ(provider.tooltipForIndexPath({0, 0}), QStringLiteral("only"));
}

// indexPathForItem answers where the grid shows the item even before the grid read its section, so "Show in
// Set" selects the icons the user asked for.
TEST_F(GridDataProviderTest, IndexPathForItemAgreesWithItemForIndexPathUnsorted)
{
    PTCollection* set = makeSet(QStringLiteral("S"));
    QVector<PTItem*> items;
    for (const char* name : {"d", "b", "a", "c", "b"})
        items << item(set, QString::fromLatin1(name));
    saveAndWait();
    PTGridViewSearchDataProvider search([] { return QStringLiteral("x"); });
    PTGridViewDataProvider sets;
    for (PTGridViewDataProvider* provider : {&sets, static_cast<PTGridViewDataProvider*>(&search)}) {
        provider->setItems(items);
        const QVector<GridIndexPath> paths = provider->indexPathsForItems(items);
        for (qsizetype i = 0; i < items.size(); ++i)
            EXPECT_EQ(provider->itemForIndexPath(paths[i]), items[i]) << i;
        EXPECT_EQ(provider->itemsForIndexPaths(paths), items);
        EXPECT_EQ(provider->representedObjectForIndexPath(paths[0]), items[0]->objectID());
    }
    // Equal names keep the order of their object IDs.
    const GridIndexPath first = sets.indexPathForItem(items[1]);
    EXPECT_EQ(sets.indexPathForItem(items[4]).index, first.index + 1);
}

TEST_F(GridDataProviderTest, NewSortOrderSortsEachSectionOnItsNextRead)
{
    PTCollection* set = makeSet(QStringLiteral("S"));
    QVector<PTItem*> items{item(set, "b"), item(set, "c"), item(set, "a")};
    saveAndWait();
    PTGridViewDataProvider provider;
    provider.setItems(items);
    EXPECT_EQ(section(provider, 0), (QStringList{"a", "b", "c"}));
    provider.setSortOrder({PTGridViewDataProvider::defaultSortOrder().key, false});
    EXPECT_EQ(provider.collectionForSection(0)->name(), QStringLiteral("S"));
    EXPECT_EQ(section(provider, 0), (QStringList{"c", "b", "a"}));
}

TEST_F(GridDataProviderTest, HeaderPathsAndSearchLocations)
{
    PTGroup* outer = PTGroup::insert(context());
    outer->setName(QStringLiteral("Outer"));
    PTGroup* inner = PTGroup::insert(context());
    inner->setName(QStringLiteral("Inner"));
    inner->setGroup(outer);
    PTCollection* set = makeSet(QStringLiteral("Arrows"));
    set->setGroup(inner);
    PTItem* left = item(set, QStringLiteral("left"));
    saveAndWait();

    PTGridViewDataProvider provider;
    provider.setItems({left});
    EXPECT_EQ(provider.pathComponentsForSection(0), (QStringList{"Outer", "Inner", "Arrows"}));

    PTGridViewSearchDataProvider search([] { return QString::fromUtf8("caf\xC3\xA9 HOME"); });
    search.setItems({});
    EXPECT_EQ(search.numberOfSections(), 1);
    EXPECT_EQ(search.numberOfItemsInSection(0), 0);
    EXPECT_TRUE(search.collections().isEmpty());
    EXPECT_EQ(search.pathComponentsForSection(0), (QStringList{"Search", "Cafe Home"}));
    search.setItems({left});
    EXPECT_EQ(search.tooltipForIndexPath({0, 0}), QString::fromUtf8("Outer  \u27E9  Inner  \u27E9  Arrows  \u27E9  left"));
    EXPECT_EQ(search.itemForIndexPath({0, 1}), nullptr);
}

} // namespace
