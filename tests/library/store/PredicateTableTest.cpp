// Every predicate form the library uses, run through SQL (with a context's pending changes on top) and in
// memory over the same objects: both must give the same, known answers.
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

using namespace pt::store;
using pt::test::makeObject;

namespace {

class PredicateTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Saved state.
        auto seed = store.worker();
        auto* licence = makeObject(*seed, "PTLicence", "MIT");
        auto* group = makeObject(*seed, "PTGroup", "Folder");
        auto* s1 = makeObject(*seed, "PTCollection", "S1");
        auto* s2 = makeObject(*seed, "PTCollection", "S2");
        s2->setValue("type", 0);
        s2->setToOne("group", group);
        auto* misc = makeObject(*seed, "PTCollection", "Misc");
        misc->setValue("type", 1);
        item(*seed, "i1", "cafe icon", "arrow,left", s1)->setToOne("licence", licence);
        item(*seed, "i2", "home", "house", s2);
        item(*seed, "i3", "orphan", "", nullptr);
        item(*seed, "i4", "misc arrow", "", misc);
        item(*seed, "i6", "loose", "", nullptr);
        ASSERT_TRUE(seed->save());
        seed.reset();

        writer = std::make_shared<ObjectContext>(ObjectContext::Kind::Confinement, store.coordinator());
        main = std::make_shared<ObjectContext>(ObjectContext::Kind::Confinement, writer);
        const auto byName = [&](const QString& entity, const QString& name) {
            return fetchOne(entity, QStringLiteral("name=%@"), {name});
        };
        // Changes already pushed into the parent but not yet written...
        byName("PTItem", "i3")->setToOne("collection", byName("PTCollection", "S1"));
        deletedID = byName("PTItem", "i2")->objectID();
        main->deleteObject(byName("PTItem", "i2"));
        ASSERT_TRUE(main->save());
        // ...and changes still pending in the context itself.
        item(*main, "i5", "new arrow", "", byName("PTCollection", "S1"));
        byName("PTItem", "i1")->setValue("informativeTextNormalized", "unsaved cafe note");
        byName("PTItem", "i6")->setValue("tagsStringNormalized", "arrow");
        main->deleteObject(byName("PTItem", "i4"));
        s1 = byName("PTCollection", "S1");
        s2 = byName("PTCollection", "S2");
        misc = byName("PTCollection", "Misc");
        sets = {s1, s2, misc};
        licenceObject = byName("PTLicence", "MIT");
    }

    ManagedObject* item(ObjectContext& context, const QString& name, const QString& normalized, const QString& tags,
                        ManagedObject* set)
    {
        auto* object = makeObject(context, "PTItem", name);
        object->setValue("nameNormalized", normalized);
        object->setValue("tagsStringNormalized", tags);
        object->setToOne("collection", set);
        return object;
    }

    ManagedObject* fetchOne(const QString& entity, const QString& predicate, const QVector<PredicateArgument>& args)
    {
        FetchRequest request;
        request.entityName = entity;
        request.predicate = *Predicate::parse(predicate, args);
        auto result = main->fetch(request);
        EXPECT_TRUE(result && result->size() == 1) << predicate.toStdString();
        return result && !result->isEmpty() ? result->front() : nullptr;
    }

    pt::test::TestStore store;
    std::shared_ptr<ObjectContext> writer;
    std::shared_ptr<ObjectContext> main;
    QVector<ManagedObject*> sets;
    ManagedObject* licenceObject = nullptr;
    ObjectID deletedID;
};

const QString searchTemplate = QStringLiteral(
    "nameNormalized CONTAINS[cd] $term OR             tagsStringNormalized CONTAINS[cd] $term OR             "
    "informativeTextNormalized CONTAINS[cd] $term");

} // namespace

TEST_F(PredicateTableTest, SqlAndMemoryAgreeOnEveryForm)
{
    struct Case {
        QString entity;
        QString predicate;
        QVector<PredicateArgument> arguments;
        QHash<QString, QString> variables;
        QStringList expected;
    };
    ManagedObject* s1 = sets[0];
    ManagedObject* s2 = sets[1];
    ManagedObject* misc = sets[2];
    const auto items = [&](const QStringList& names) {
        QVector<ManagedObject*> objects;
        for (const QString& name : names)
            objects.append(fetchOne("PTItem", "name=%@", {name}));
        return objects;
    };
    const QVector<ManagedObject*> someItems = items({"i1", "i5"});
    QVector<ObjectID> someIDs;
    for (auto* object : someItems)
        someIDs.append(object->objectID());
    someIDs.append(deletedID);

    const QVector<Case> cases{
        {"PTCollection", "type=NULL OR type=0", {}, {}, {"S1", "S2"}},
        {"PTCollection", "type=%@", {1}, {}, {"Misc"}},
        {"PTCollection", "type!=%@", {1}, {}, {"S1", "S2"}},
        {"PTCollection", "group=nil", {}, {}, {"Misc", "S1"}},
        {"PTCollection", "TRUEPREDICATE", {}, {}, {"Misc", "S1", "S2"}},
        {"PTItem", "TRUEPREDICATE", {}, {}, {"i1", "i3", "i5", "i6"}},
        {"PTItem", "collection=%@", {s1}, {}, {"i1", "i3", "i5"}},
        {"PTItem", "collection==%@ AND type=NULL", {s1}, {}, {"i1", "i3", "i5"}},
        {"PTItem", "collection=%@", {s2}, {}, {}},
        {"PTItem", "collection=nil", {}, {}, {"i6"}},
        {"PTItem", "collection!=nil", {}, {}, {"i1", "i3", "i5"}},
        {"PTItem", "licence=%@", {licenceObject}, {}, {"i1"}},
        {"PTItem", "SELF IN %@", {someIDs}, {}, {"i1", "i5"}},
        {"PTItem", "collection IN %@", {QVector<ManagedObject*>{s2, misc}}, {}, {}},
        {"PTItem", "collection IN %@", {QVector<ManagedObject*>{s1}}, {}, {"i1", "i3", "i5"}},
        {"PTItem", searchTemplate, {}, {{"term", "arrow"}}, {"i1", "i5", "i6"}},
        {"PTItem", searchTemplate, {}, {{"term", "CAFÉ"}}, {"i1"}},
        // The search columns are width-folded, so the term must be too.
        {"PTItem", searchTemplate, {}, {{"term", "ＡＲＲＯＷ"}}, {"i1", "i5", "i6"}},
        {"PTItem", searchTemplate, {}, {{"term", "ｃａｆｅ\u0301"}}, {"i1"}},
        {"PTItem", searchTemplate, {}, {{"term", "home"}}, {}},
        {"PTItem", searchTemplate, {}, {{"term", ""}}, {"i1", "i3", "i5", "i6"}},
        {"PTItem", "(collection!=nil) AND (" + searchTemplate + ")", {}, {{"term", "arrow"}}, {"i1", "i5"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.entity + " " + c.predicate + " " + c.variables.value("term")).toStdString());
        auto parsed = Predicate::parse(c.predicate, c.arguments);
        ASSERT_TRUE(parsed) << parsed.error().toString().toStdString();
        const Predicate predicate = parsed->substitute(c.variables);

        FetchRequest request;
        request.entityName = c.entity;
        request.predicate = predicate;
        auto fetched = main->fetch(request);
        ASSERT_TRUE(fetched) << fetched.error().toString().toStdString();
        EXPECT_EQ(pt::test::namesOf(*fetched), c.expected);

        auto ids = main->fetchIDs(request);
        ASSERT_TRUE(ids);
        EXPECT_EQ(ids->size(), c.expected.size());
        EXPECT_EQ(*main->count(request), c.expected.size());

        request.predicate = Predicate::truePredicate();
        QVector<ManagedObject*> inMemory;
        const auto everything = main->fetch(request);
        for (ManagedObject* object : *everything)
            if (predicate.evaluate(object->entity(), *object))
                inMemory.append(object);
        EXPECT_EQ(pt::test::namesOf(inMemory), c.expected);
    }
}
