// Change handlers of sets and the grouping of item names, on a real library.
#include "LibraryTestSupport.h"

#include "library/controllers/PTCollectionController.h"
#include "library/upkeep/PTFSEvent.h"
#include "library/controllers/PTItemController.h"

using pt::test::LibraryTest;

namespace {
using CollectionChangeHandlersTest = LibraryTest;
} // namespace

TEST_F(CollectionChangeHandlersTest, HandlersHearOnlyFilesThatWereModifiedInPlace)
{
    PTCollection* set = makeSet("Set");
    PTFSEvent event;
    event.paths = {"/lib/Sets/a/changed.svg", "/lib/Sets/a/new.svg", "/lib/Sets/a/gone.svg",
                   "/lib/Sets/a/replaced.svg", "/lib/Sets/a/renamed-and-changed.png", "/lib/Sets/a/no-flag.svg"};
    // The last path has no flag word: a short flag array must not be read past its end.
    event.flags = {PTFSEvent::ItemModified | PTFSEvent::ItemIsFile, PTFSEvent::ItemCreated | PTFSEvent::ItemModified,
                   PTFSEvent::ItemRemoved | PTFSEvent::ItemModified,
                   PTFSEvent::ItemCreated | PTFSEvent::ItemRemoved | PTFSEvent::ItemModified,
                   PTFSEvent::ItemRenamed | PTFSEvent::ItemModified};

    // Handlers stay for the run, so they hold what they heard themselves.
    auto heard = std::make_shared<QVector<std::pair<PTCollection*, QStringList>>>();
    PTCollectionController& sets = PTCollectionController::sharedController();
    for (int i = 0; i < 2; ++i)
        sets.addChangeHandler([heard](PTCollection* set, const QStringList& names) { heard->append({set, names}); });
    sets.processPTFSEvent(event, set);

    const QStringList expected{"changed.svg", "renamed-and-changed.png"};
    ASSERT_EQ(heard->size(), 2);
    for (const auto& [heardSet, names] : *heard) {
        EXPECT_EQ(heardSet, set);
        EXPECT_EQ(names, expected);
    }
}

TEST_F(CollectionChangeHandlersTest, ItemNamesGroupUnderTheirBaseName)
{
    PTCollection* set = makeSet("Set");
    QVector<PTItem*> items;
    for (const char* name : {"Arrow 16x16", "arrow 32 X 32", "Arrow @2", "Home 24x24", "Plain", "123x4"})
        items.append(makeItem(set, name, QString(name) + ".svg"));
    const QHash<QString, QStringList> groups = PTItemController::sharedController().groupItems(items);
    // Case is kept: the base names differ as written.
    EXPECT_EQ(groups.value("Arrow"), (QStringList{"Arrow 16x16", "Arrow @2"}));
    EXPECT_EQ(groups.value("arrow"), QStringList{"arrow 32 X 32"});
    EXPECT_EQ(groups.value("Home"), QStringList{"Home 24x24"});
    // A name without a size, or a size without a name, belongs to no group.
    EXPECT_EQ(groups.size(), 3);
}
