// The group tree on a real library: creating, moving, wrapping and dissolving groups.
#include "LibraryTestSupport.h"

#include "TestSupport.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTGroup.h"
#include "library/controllers/PTGroupController.h"

using pt::store::ManagedObject;
using pt::test::LibraryTest;
using pt::test::RecordingMenu;

namespace {

class GroupControllerTest : public LibraryTest {
protected:
    PTGroupController& groups = PTGroupController::sharedController();
    PTCollectionController& sets = PTCollectionController::sharedController();

    // The names of the group's children in list order, checking that their sort numbers follow that order.
    QStringList childNames(PTGroup* group)
    {
        QStringList names;
        qint64 previous = std::numeric_limits<qint64>::min();
        for (ManagedObject* child : groups.objectsForGroup(group, true)) {
            EXPECT_LT(previous, PTGroupController::sortOf(child));
            previous = PTGroupController::sortOf(child);
            names << PTGroupController::nameOf(child);
        }
        return names;
    }
    PTCollection* set(const QString& name, PTGroup* group = nullptr)
    {
        PTCollection* made = sets.createCollectionWithName(name, nullptr);
        if (group)
            groups.moveObject(made, group, 1000);
        return made;
    }
    PTGroup* group(const QString& name, PTGroup* parent = nullptr)
    {
        return groups.createGroupWithName(name, parent);
    }
};

} // namespace

TEST_F(GroupControllerTest, NewGroupsComeLast)
{
    PTGroup* parent = group("Parent");
    set("A", parent);
    set("B", parent);
    group("C", parent);
    // Leave gaps, as an older library might.
    for (ManagedObject* child : groups.objectsForGroup(parent))
        PTGroupController::setSortOf(child, PTGroupController::sortOf(child) * 10 + 7);
    PTGroup* added = group(QString(), parent);
    EXPECT_EQ(added->name(), QStringLiteral("Untitled Group"));
    EXPECT_EQ(added->sort(), 5);
    const auto children = groups.objectsForGroup(parent);
    ASSERT_EQ(children.size(), 4);
    EXPECT_EQ(children.last(), added);
    EXPECT_EQ(PTGroupController::sortOf(children[0]), 0);
    EXPECT_EQ(PTGroupController::sortOf(children[2]), 2);
    EXPECT_EQ(groups.objectsForGroup(nullptr), (PTGroupController::Children{parent}));
    saveAndWait();
    EXPECT_FALSE(added->objectID().isTemporary());
}

TEST_F(GroupControllerTest, MovesAtEveryIndexEdge)
{
    struct Case {
        const char* object;
        qint64 index;
        const char* expected;
    };
    const Case cases[] = {
        {"A", 3, "B,C,A,D"}, {"A", 4, "B,C,D,A"}, {"A", 99, "B,C,D,A"}, {"A", 0, "A,B,C,D"}, {"A", 1, "A,B,C,D"},
        {"D", -1, "D,A,B,C"}, {"D", 0, "D,A,B,C"}, {"D", 3, "A,B,C,D"}, {"B", 2, "A,B,C,D"},
        {"B", std::numeric_limits<qint64>::max(), "B,A,C,D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.object) + " to " + std::to_string(c.index));
        PTGroup* parent = group("Parent");
        QHash<QString, ManagedObject*> byName;
        for (const char* name : {"A", "B", "C", "D"})
            byName.insert(name, set(name, parent));
        EXPECT_EQ(childNames(parent).join(","), QStringLiteral("A,B,C,D"));
        ASSERT_TRUE(groups.moveObject(byName.value(c.object), parent, c.index));
        EXPECT_EQ(childNames(parent).join(","), QString::fromLatin1(c.expected));
    }
}

TEST_F(GroupControllerTest, MovesBetweenGroupsAndRefusesCycles)
{
    PTGroup* outer = group("Outer");
    PTGroup* inner = group("Inner", outer);
    PTGroup* deepest = group("Deepest", inner);
    PTGroup* other = group("Other");
    PTCollection* a = set("A", other);
    set("B", other);

    // Dropped on a group (-1): first.
    ASSERT_TRUE(groups.moveObject(a, inner, -1));
    EXPECT_EQ(childNames(inner), (QStringList{"A", "Deepest"}));
    EXPECT_EQ(childNames(other), QStringList{"B"});
    EXPECT_EQ(a->group(), inner);

    // Never into itself or below itself; nothing changes.
    EXPECT_FALSE(groups.moveObject(outer, outer, 0));
    EXPECT_FALSE(groups.moveObject(outer, deepest, 0));
    EXPECT_FALSE(groups.moveObject(inner, deepest, 0));
    EXPECT_EQ(inner->group(), outer);
    EXPECT_EQ(deepest->group(), inner);
    EXPECT_FALSE(groups.moveObject(sets.miscCollection(), outer, 0));
    EXPECT_EQ(sets.miscCollection()->group(), nullptr);

    // To the top level, between the two top-level groups.
    ASSERT_TRUE(groups.moveObject(deepest, nullptr, 1));
    EXPECT_EQ(childNames(nullptr), (QStringList{"Outer", "Deepest", "Other"}));
    EXPECT_EQ(groups.depthForItem(a), 2);
    EXPECT_EQ(groups.depthForItem(deepest), 0);
    saveAndWait();
}

TEST_F(GroupControllerTest, WrapsASelectionInPlaceOfItsTopmostObject)
{
    set("First");
    PTCollection* top = set("Top");
    PTGroup* holder = group("Holder");
    PTCollection* nested = set("Nested", holder);
    set("Stays", holder);

    pt::test::NotificationRecorder recorder({PTCollectionController::CollectionsDidChangeNotification});
    PTGroup* wrapper = groups.groupItems({nested, top});
    ASSERT_TRUE(wrapper);
    EXPECT_EQ(wrapper->group(), nullptr);
    EXPECT_EQ(childNames(nullptr), (QStringList{"First", "Untitled Group", "Holder"}));
    EXPECT_EQ(childNames(wrapper).size(), 2);
    EXPECT_EQ(childNames(holder), QStringList{"Stays"});
    EXPECT_EQ(recorder.posted.size(), 2);
    EXPECT_FALSE(wrapper->objectID().isTemporary());
    saveAndWait();
}

TEST_F(GroupControllerTest, DissolvingPutsTheChildrenInTheGroupsPlace)
{
    PTGroup* parent = group("Parent");
    set("Before", parent);
    PTGroup* dissolved = group("Dissolved", parent);
    set("After", parent);
    set("X", dissolved);
    group("Y", dissolved);
    EXPECT_EQ(childNames(parent), (QStringList{"Before", "Dissolved", "After"}));

    const auto children = groups.ungroup(dissolved, true);
    EXPECT_EQ(children.size(), 2);
    EXPECT_EQ(childNames(parent), (QStringList{"Before", "X", "Y", "After"}));
    EXPECT_TRUE(dissolved->isDeleted());
    EXPECT_FALSE(groups.groups().contains(dissolved));

    // Dissolving several at the top level.
    PTGroup* a = group("A");
    set("A1", a);
    PTGroup* b = group("B");
    set("B1", b);
    set("B2", b);
    EXPECT_EQ(groups.ungroupItems({a, b}).size(), 3);
    EXPECT_EQ(childNames(nullptr), (QStringList{"Parent", "A1", "B1", "B2"}));
    saveAndWait();
}

TEST_F(GroupControllerTest, TreeQuestions)
{
    PTGroup* outer = group("Outer");
    PTCollection* b = set("b", outer);
    PTGroup* sub = group("sub", outer);
    PTCollection* deep = set("Deep", sub);
    PTCollection* a = set("A", outer);
    set("émile", outer);
    PTCollection* loose = set("Loose");
    PTCollection* loose2 = set("Loose2");

    EXPECT_EQ(groups.collectionsForGroup(outer).mid(0, 3), (QVector<PTCollection*>{b, deep, a}));
    EXPECT_TRUE(groups.isInception({outer, deep}));
    EXPECT_FALSE(groups.isInception({loose, loose2}));
    EXPECT_FALSE(groups.isInception({sub, loose}));
    EXPECT_FALSE(groups.isChildOfGroup(loose, nullptr, true));
    EXPECT_FALSE(groups.isChildOfGroup(deep, outer, false));
    EXPECT_TRUE(groups.isChildOfGroup(deep, outer, true));
    ManagedObject* proposed = nullptr;
    EXPECT_EQ(groups.topLevelGroup({deep, b}, &proposed), outer);
    EXPECT_EQ(proposed, b);

    groups.sortGroupByName(outer);
    EXPECT_EQ(childNames(outer), (QStringList{"A", "b", "sub", "émile"}));

    // A set being removed is hidden from the lists until the removal ends.
    groups.removeCollection(a);
    EXPECT_EQ(childNames(outer), (QStringList{"b", "sub", "émile"}));
    groups.purgeRemovalOfCollections();
}

TEST_F(GroupControllerTest, MenuOfAGroupsChildren)
{
    PTGroup* outer = group("Outer");
    PTCollection* a = set("A", outer);
    PTGroup* inner = group("Inner", outer);
    set("B", inner);
    set("Top");

    QStringList lines;
    RecordingMenu menu(&lines);
    groups.menuForGroup(outer, "select", menu);
    EXPECT_EQ(lines, (QStringList{"A/select", "Inner/select", "  B/select"}));
    EXPECT_EQ(menu.objects, (QVector<ManagedObject*>{a, inner}));

    lines.clear();
    RecordingMenu top(&lines);
    groups.menuForGroup(nullptr, "move", top);
    EXPECT_EQ(lines, (QStringList{"Outer/move", "  A/move", "  Inner/move", "    B/move", "Top/move"}));
}

TEST_F(GroupControllerTest, NewGroupsAtAnIndex)
{
    struct Case {
        qint64 index;
        const char* expected;
    };
    const Case cases[] = {{0, "New,A,B,C"}, {1, "A,New,B,C"}, {2, "A,B,New,C"},
                          {3, "A,B,C,New"}, {-1, "A,B,C,New"}, {99, "A,B,C,New"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        PTGroup* parent = group("Parent");
        for (const char* name : {"A", "B", "C"})
            set(name, parent);
        PTGroup* added = groups.createGroupWithName("New", parent, c.index);
        EXPECT_EQ(added->group(), parent);
        EXPECT_EQ(childNames(parent).join(","), QString::fromLatin1(c.expected));
        EXPECT_EQ(groups.objectsForGroup(parent).indexOf(added), QString::fromLatin1(c.expected).split(",").indexOf("New"));
    }
    // At the top level too.
    PTGroup* first = groups.createGroupWithName("First", nullptr, 0);
    EXPECT_EQ(groups.objectsForGroup(nullptr).first(), first);
    EXPECT_EQ(first->sort(), 0);
}

TEST_F(GroupControllerTest, FindsGroupsByURIAndTellsAncestry)
{
    PTGroup* outer = group("Outer");
    PTGroup* inner = group("Inner", outer);
    PTGroup* other = group("Other");
    PTCollection* deep = set("Deep", inner);
    PTGroup* doomed = group("Doomed");
    saveAndWait();

    EXPECT_EQ(PTGroupController::groupWithURL(inner->objectID().uriString()), inner);
    const QString doomedURI = doomed->objectID().uriString();
    groups.ungroup(doomed, false);
    saveAndWait();
    const QString wrongStore = QString(inner->objectID().uriString())
                                   .replace(inner->objectID().storeUuid(), "00000000-0000-0000-0000-000000000000");
    for (const QString& uri : {deep->objectID().uriString(), doomedURI, wrongStore, QStringLiteral("Inner"),
                               QString()})
        EXPECT_EQ(PTGroupController::groupWithURL(uri), nullptr) << uri.toStdString();

    struct Case {
        ManagedObject* object;
        PTGroup* group;
        bool expected;
    };
    const Case cases[] = {
        {deep, inner, true},  {deep, outer, true},  {inner, outer, true},   {inner, inner, true},
        {outer, inner, false}, {deep, other, false}, {deep, nullptr, false}, {outer, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(PTGroupController::nameOf(c.object).toStdString() + " in "
                     + (c.group ? c.group->name().toStdString() : "nothing"));
        EXPECT_EQ(PTGroupController::hasParentGroup(c.object, c.group), c.expected);
    }
}

// Moves refuse loops, but a damaged store can still hold one: walking up the parents must end.
TEST_F(GroupControllerTest, AncestorWalksEndOnALoopOfParents)
{
    PTGroup* a = group("A");
    PTGroup* b = group("B", a);
    PTCollection* leaf = set("Leaf", b);
    a->setGroup(b);

    EXPECT_EQ(a->selfAndAncestors(), QVector<PTGroup*>({a, b}));
    EXPECT_EQ(groups.depthForItem(leaf), 2);
    EXPECT_TRUE(PTGroupController::hasParentGroup(leaf, a));
    EXPECT_FALSE(PTGroupController::hasParentGroup(leaf, group("Elsewhere")));
    EXPECT_EQ(leaf->breadCrumbs(), QStringList({"A", "B", "Leaf"}));
    EXPECT_FALSE(groups.moveObject(b, a, 0));
}

TEST_F(GroupControllerTest, AdoptsAndForgetsGroups)
{
    PTGroup* parent = group("Parent");
    set("A", parent);
    groups.groups();
    // Made behind the controller's back, as another part of the program might.
    PTGroup* stray = PTGroup::insert(context());
    stray->setName("Stray");
    stray->setSort(5);
    stray->setGroup(parent);
    EXPECT_FALSE(groups.groups().contains(stray));
    EXPECT_EQ(groups.objectsForGroup(parent).size(), 1);

    groups.adopt({stray, stray});
    EXPECT_EQ(groups.groups().count(stray), 1);
    EXPECT_EQ(groups.objectsForGroup(parent).last(), stray);

    groups.removeReferenceToGroup(stray);
    EXPECT_FALSE(groups.groups().contains(stray));
    EXPECT_EQ(stray->group(), parent);
    EXPECT_EQ(groups.objectsForGroup(parent).last(), stray);
}

TEST_F(GroupControllerTest, AMenuEntryRemovesItsGroup)
{
    PTGroup* outer = group("Outer");
    PTGroup* inner = group("Inner", outer);
    PTCollection* a = set("A", outer);
    QStringList lines;
    RecordingMenu menu(&lines);
    groups.menuForGroup(outer, "remove", menu);
    ASSERT_EQ(menu.objects, (QVector<ManagedObject*>{inner, a}));

    // Chosen entries: a set's is ignored, the group's unlinks it from the tree.
    groups.removeGroupFromMenuItem(menu.objects[1]);
    EXPECT_EQ(a->group(), outer);
    groups.removeGroupFromMenuItem(menu.objects[0]);
    EXPECT_EQ(inner->group(), nullptr);
    EXPECT_FALSE(groups.groups().contains(inner));
    EXPECT_EQ(childNames(outer), QStringList{"A"});
}
