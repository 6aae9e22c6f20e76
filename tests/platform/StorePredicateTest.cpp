// Predicates on their own: what the parser accepts and refuses, the SQL they compile to, and the text fold.
#include "platform/store/ObjectModel.h"
#include "platform/store/Predicate.h"
#include "platform/store/TextFold.h"

#include <gtest/gtest.h>

using namespace pt::store;

namespace {

const ObjectModel& model()
{
    static const ObjectModel model(
        "Test", 1,
        {EntityDescription("Box", {{"name", AttributeType::String}, {"kind", AttributeType::Int64}},
                           {{"things", "Thing", "box", true, {}}}),
         EntityDescription("Thing", {{"label", AttributeType::String}, {"label_folded", AttributeType::String, true}},
                           {{"box", "Box", "things", false, "box"}})});
    return model;
}

QString sqlOf(const QString& entity, const QString& text, const QVector<PredicateArgument>& arguments = {})
{
    auto predicate = Predicate::parse(text, arguments);
    EXPECT_TRUE(predicate) << text.toStdString();
    if (!predicate)
        return {};
    QString sql;
    QVector<QVariant> bindings;
    auto compiled = predicate->toSql(*model().entity(entity), sql, bindings);
    return compiled ? sql : QStringLiteral("error: ") + compiled.error().localizedDescription();
}

} // namespace

TEST(StorePredicateTest, CompilesEachFormToSql)
{
    const ObjectID box = ObjectID::permanent(model().entity("Box"), 3, "UUID");
    const ObjectID newBox = ObjectID::temporary(model().entity("Box"));
    const struct {
        QString entity;
        QString text;
        QVector<PredicateArgument> arguments;
        QString sql;
    } cases[] = {
        {"Box", "TRUEPREDICATE", {}, "1"},
        {"Box", "kind=NULL OR kind=0", {}, "(kind IS NULL OR kind = ?)"},
        {"Box", "kind != %@", {1}, "kind IS NOT ?"},
        {"Box", "name == %@", {QString("a")}, "name = ?"},
        {"Thing", "box=%@", {box}, "box = ?"},
        {"Thing", "box=%@", {newBox}, "0"},
        {"Thing", "box!=%@", {newBox}, "1"},
        {"Thing", "box=nil", {}, "box IS NULL"},
        {"Thing", "box!=nil AND (label CONTAINS[cd] %@ || label_folded CONTAINS[cd] $t)", {QString("x")},
         "error: no value for $t"},
        {"Thing", "label CONTAINS[cd] %@ AND label_folded CONTAINS[cd] %@", {QString("x"), QString("y")},
         "(instr(pt_fold(label), ?) > 0 AND instr(label_folded, ?) > 0)"},
        {"Thing", "SELF IN %@", {QVector<ObjectID>{}}, "pk IN (SELECT value FROM json_each(?))"},
        {"Thing", "box IN %@", {QVector<ObjectID>{box}}, "box IN (SELECT value FROM json_each(?))"},
        {"Thing", "missing=1", {}, "error: Thing has no key \"missing\""},
        {"Box", "things=nil", {}, "error: Box has no key \"things\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sqlOf(c.entity, c.text, c.arguments), c.sql) << c.text.toStdString();
}

TEST(StorePredicateTest, RefusesWhatItCannotExpress)
{
    const QStringList refused{
        "", "name", "name = ", "name < 1", "name CONTAINS %@", "name = %@", "SELF IN 3", "name = %@ AND",
        "(name = 1", "name = 1)", "name = 1 garbage", "name LIKE 'x'", "kind = %@ %@",
    };
    for (const QString& text : refused)
        EXPECT_FALSE(Predicate::parse(text, {})) << text.toStdString();
    EXPECT_FALSE(Predicate::parse("kind = %@", {QVector<ObjectID>{}}));
    EXPECT_FALSE(Predicate::parse("label CONTAINS[cd] %@", {3}));
}

TEST(StorePredicateTest, FoldsCaseAndDiacritics)
{
    EXPECT_EQ(foldCaseAndDiacritics("Café"), "cafe");
    EXPECT_EQ(foldCaseAndDiacritics("ÅNGSTRÖM Straße"), "angstrom straße");
    EXPECT_EQ(foldCaseAndDiacritics("plain"), "plain");
    EXPECT_EQ(foldCaseAndDiacritics(""), "");
}
