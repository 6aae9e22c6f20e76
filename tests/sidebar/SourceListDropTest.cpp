#include "FakeBrowserSeams.h"
#include "SourceListTestSupport.h"
#include "TestSupport.h"

#include "library/controllers/PTGroupController.h"
#include "library/store/PTCDAdditions.h"
#include "platform/plist/PropertyList.h"
#include "sidebar/PTSourceListDrops.h"
#include "sidebar/PTSourceListModel.h"

#include <QMimeData>
#include <QUrl>

#include <memory>

namespace {

class SourceListDropTest : public SourceListTest {
protected:
    void SetUp() override
    {
        SourceListTest::SetUp();
        PTBrowserTransfer::install(transfer);
        PTImportValidation::install(std::make_shared<SvgOnlyValidation>());
    }
    void TearDown() override
    {
        PTBrowserTransfer::install(nullptr);
        PTImportValidation::install(nullptr);
        SourceListTest::TearDown();
    }
    std::unique_ptr<QMimeData> rowsPayload(const QVector<pt::store::ManagedObject*>& objects)
    {
        QModelIndexList rows;
        for (auto* object : objects)
            rows << indexOf(object);
        return std::unique_ptr<QMimeData>(list().model()->mimeData(rows));
    }
    std::unique_ptr<QMimeData> iconsPayload(const QStringList& uris)
    {
        auto data = std::make_unique<QMimeData>();
        data->setData(PTBrowserTransfer::ItemType, uris.join('\n').toUtf8());
        return data;
    }
    bool canDrop(const QMimeData* data, int row, const QModelIndex& parent, Qt::DropAction action = Qt::MoveAction)
    {
        return list().model()->canDropMimeData(data, action, row, 0, parent);
    }
    bool drop(const QMimeData* data, int row, const QModelIndex& parent, Qt::DropAction action = Qt::MoveAction)
    {
        const bool done = list().model()->dropMimeData(data, action, row, 0, parent);
        pt::test::runMainQueueFor(20);
        return done;
    }
    QStringList topLevelNames()
    {
        QStringList names;
        for (auto* object : PTGroupController::sharedController().objectsForGroup(nullptr))
            names << PTGroupController::nameOf(object);
        return names;
    }

    std::shared_ptr<FakeBrowserTransfer> transfer = std::make_shared<FakeBrowserTransfer>();
};

} // namespace

TEST_F(SourceListDropTest, DraggingRowsLeavesOutTheFixedOnes)
{
    PTCollection* a = makeSet("A");
    saveAndWait();
    EXPECT_EQ(list().model()->mimeData({topRow(1), topRow(2), topRow(3)}), nullptr);
    const auto payload = rowsPayload({a, list().model()->itemForIndex(topRow(2))->underlyingObject()});
    const auto uris = pt::PropertyList::fromData(payload->data(PTSourceListDrops::ListItemType));
    ASSERT_TRUE(uris.ok());
    EXPECT_EQ(uris->toList(), QVariantList{PTCDAdditions::persistentURLString(a)});
}

// Where rows may land: top-level indices, onto sets, groups and the fixed rows.
TEST_F(SourceListDropTest, RowPositions)
{
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    PTGroup* g = makeGroup("G");
    saveAndWait();
    const auto payload = rowsPayload({a});
    const int count = list().model()->topLevelCount();
    struct Case {
        const char* name;
        int row;
        QModelIndex parent;
        bool accepted;
    } cases[] = {
        {"index 3", 3, {}, false},
        {"index 4", 4, {}, true},
        {"count - 1", count - 1, {}, true},
        {"count", count, {}, false},
        {"onto a set", -1, indexOf(b), false},
        {"onto a group", -1, indexOf(g), true},
        {"onto All", -1, topRow(1), false},
        {"onto the header", -1, topRow(3), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(canDrop(payload.get(), c.row, c.parent), c.accepted);
    }
    const auto foreign = std::make_unique<QMimeData>();
    const auto plist = pt::PropertyList::toData(
        QVariantList{QStringLiteral("x-ptstore://00000000-0000-0000-0000-000000000000/PTCollection/p1")});
    foreign->setData(PTSourceListDrops::ListItemType, *plist);
    EXPECT_FALSE(canDrop(foreign.get(), 4, {}));
}

TEST_F(SourceListDropTest, RowsKeepTheirOrderAndGroupsNeverGoIntoThemselves)
{
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    PTCollection* c = makeSet("C");
    PTCollection* d = makeSet("D");
    saveAndWait();
    for (int i = 0; auto* set : {a, b, c, d})
        PTGroupController::setSortOf(set, i++);
    PTGroupController::sharedController().objectsForGroup(nullptr, true);
    // D and B dropped together before A: they arrive in their dragged order.
    ASSERT_TRUE(drop(rowsPayload({d, b}).get(), 4, {}));
    EXPECT_EQ(topLevelNames(), (QStringList{"D", "B", "A", "C"}));
    // At the end.
    ASSERT_TRUE(drop(rowsPayload({d, a}).get(), list().model()->topLevelCount() - 1, {}));
    EXPECT_EQ(topLevelNames(), (QStringList{"B", "C", "D", "A"}));

    PTGroup* outer = makeGroup("Outer");
    PTGroup* inner = makeGroup("Inner", outer);
    saveAndWait();
    list().reloadData();
    view().expand(indexOf(outer));
    ASSERT_TRUE(drop(rowsPayload({outer, c}).get(), -1, indexOf(inner)));
    EXPECT_EQ(PTGroupController::parentOf(outer), nullptr);
    EXPECT_EQ(PTGroupController::parentOf(c), inner);
}

TEST_F(SourceListDropTest, IconsMoveOrCopyOntoAnotherSet)
{
    PTCollection* from = makeSet("From");
    PTCollection* to = makeSet("To");
    PTItem* icon = makeItem(from, "icon", "icon.svg");
    PTItem* other = makeItem(from, "other", "other.svg");
    saveAndWait();
    const QString uri = PTCDAdditions::persistentURLString(icon);
    EXPECT_FALSE(canDrop(iconsPayload({uri}).get(), -1, indexOf(from)));
    EXPECT_FALSE(canDrop(iconsPayload({uri}).get(), 4, {}));
    EXPECT_FALSE(canDrop(iconsPayload({"x-ptstore://00000000-0000-0000-0000-000000000000/PTItem/p1"}).get(), -1,
                         indexOf(to)));

    ASSERT_TRUE(drop(iconsPayload({uri}).get(), -1, indexOf(to), Qt::CopyAction));
    EXPECT_EQ(icon->collection(), from);
    EXPECT_EQ(to->items().size(), 1);

    ASSERT_TRUE(drop(iconsPayload({PTCDAdditions::persistentURLString(other)}).get(), -1, indexOf(to)));
    ASSERT_TRUE(pt::test::runMainQueueUntil([other, to] { return other->collection() == to; }));
    EXPECT_EQ(from->items().size(), 1);
}

TEST_F(SourceListDropTest, FilesOpenTheAddIconsSheetForASet)
{
    PTCollection* set = makeSet("Set");
    PTGroup* group = makeGroup("G");
    saveAndWait();
    auto data = std::make_unique<QMimeData>();
    data->setUrls({QUrl::fromLocalFile(pt::test::themeIcon()), QUrl::fromLocalFile("/tmp/notes.txt")});
    EXPECT_FALSE(canDrop(data.get(), -1, indexOf(group)));
    ASSERT_TRUE(drop(data.get(), -1, indexOf(set)));
    EXPECT_EQ(transfer->sheets, 1);
    EXPECT_EQ(transfer->sheetTarget, set);
    EXPECT_EQ(transfer->sheetURLs, QList<QUrl>{QUrl::fromLocalFile(pt::test::themeIcon())});
}
