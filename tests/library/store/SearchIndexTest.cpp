// Searches of the store's search columns through its trigram index: the same answers as comparing every row,
// kept in step by saves, and built for a store that was made without it.
#include "StoreTestSupport.h"

#include "platform/store/TextFold.h"

#include <gtest/gtest.h>

using namespace pt::store;
using pt::test::fetchNames;
using pt::test::makeObject;
using pt::test::queryStore;

namespace {

const QString SearchTemplate = QStringLiteral(
    "nameNormalized CONTAINS[cd] %@ OR tagsStringNormalized CONTAINS[cd] %@ OR informativeTextNormalized CONTAINS[cd] %@");

class SearchIndexTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto seed = store.worker();
        item(*seed, "home", "Home", "house,building", "");
        item(*seed, "cafe", "Café Crème", "drink", "A cup of coffee");
        item(*seed, "percent", "50% off", "sale", "");
        item(*seed, "quote", "say \"hi\"", "", "");
        item(*seed, "under", "snake_case", "", "");
        item(*seed, "wide", "ＡＢＣ wide", "", "");
        item(*seed, "note", "plain", "", "Homework note");
        item(*seed, "scattered", "abcx", "bcab", "");
        ASSERT_TRUE(seed->save());
    }

    static void item(ObjectContext& context, const char* name, const QString& title, const QString& tags,
                     const QString& text)
    {
        ManagedObject* object = makeObject(context, "PTItem", name);
        object->setValue("nameNormalized", foldWidthCaseAndDiacritics(title));
        object->setValue("tagsStringNormalized", foldWidthCaseAndDiacritics(tags));
        object->setValue("informativeTextNormalized", foldWidthCaseAndDiacritics(text));
    }

    QStringList search(const QString& term)
    {
        auto context = store.worker();
        return fetchNames(*context, "PTItem", SearchTemplate, {term, term, term});
    }

    pt::test::TestStore store;
};

TEST_F(SearchIndexTest, FindsExactlyTheRowsHoldingTheText)
{
    const struct {
        QString term;
        QStringList names;
    } cases[] = {
        {"hom", {"home", "note"}},          // served by the index, in the name and in the description
        {"HOMEWORK", {"note"}},
        {"creme", {"cafe"}},                // accents folded on both sides
        {"café", {"cafe"}},
        {"abc", {"scattered", "wide"}},     // width folded
        {"ho", {"home", "note"}},           // too short for trigrams: compared row by row
        {"e", {"cafe", "home", "note", "percent", "under", "wide"}},
        {"50%", {"percent"}},               // pattern characters are plain text
        {"0% o", {"percent"}},
        {"e_c", {"under"}},
        {"\"hi\"", {"quote"}},
        {"house,b", {"home"}},
        {"cup of", {"cafe"}},
        {"homes", {}},
        {"abca", {}},                       // every trigram of it, but never in a row
        {"bcab", {"scattered"}},
        {"", {"cafe", "home", "note", "percent", "quote", "scattered", "under", "wide"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(search(c.term), c.names) << c.term.toStdString();
}

TEST_F(SearchIndexTest, TermsCombinedWithOtherConditions)
{
    auto context = store.worker();
    EXPECT_EQ(fetchNames(*context, "PTItem", "(" + SearchTemplate + ") AND (" + SearchTemplate + ")",
                         {QString("hom"), QString("hom"), QString("hom"), QString("work"), QString("work"), QString("work")}),
              QStringList{"note"});
    EXPECT_EQ(fetchNames(*context, "PTItem", "collection!=nil AND nameNormalized CONTAINS[cd] %@", {QString("home")}),
              QStringList{});
}

// FTS5 compares the index with the table's rows: a row indexed twice or never fails it.
void expectIndexMatchesRows(const QString& path)
{
    queryStore(path, "INSERT INTO PTItem_search(PTItem_search) VALUES('integrity-check')");
}

TEST_F(SearchIndexTest, SavesKeepTheIndexInStep)
{
    auto context = store.worker();
    // A batch of new items, one of them changed again and another deleted before the save.
    QVector<ManagedObject*> added;
    for (int n = 0; n < 5; ++n)
        added << makeObject(*context, "PTItem", QStringLiteral("added%1").arg(n));
    for (ManagedObject* object : added)
        object->setValue("nameNormalized", QString("rooftop ") + object->value("name").toString());
    ASSERT_TRUE(context->save());
    added[1]->setValue("tagsStringNormalized", QString("chimney"));
    context->deleteObject(added[2]);
    ASSERT_TRUE(context->save());
    EXPECT_EQ(search("rooftop").size(), 4);
    EXPECT_EQ(search("chimney"), QStringList{"added1"});
    expectIndexMatchesRows(store.path());

    ManagedObject* home = context->fetch({"PTItem", *Predicate::parse("name=%@", {QString("home")})})->front();
    home->setValue("nameNormalized", QString("garage"));
    ASSERT_TRUE(context->save());
    EXPECT_EQ(search("home"), QStringList{"note"});
    EXPECT_EQ(search("garage"), QStringList{"home"});
    EXPECT_EQ(search("house"), QStringList{"home"});

    home->setValue("width", 24); // not a search column
    ASSERT_TRUE(context->save());
    EXPECT_EQ(search("garage"), QStringList{"home"});

    context->deleteObject(home);
    ASSERT_TRUE(context->save());
    EXPECT_EQ(search("garage"), QStringList{});
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem_search WHERE PTItem_search MATCH '\"gar\" AND \"age\"'"), "0");
    expectIndexMatchesRows(store.path());
}

TEST_F(SearchIndexTest, AStoreMadeWithoutTheIndexGetsItWhenOpened)
{
    store.close();
    for (const char* statement : {"DROP TRIGGER PTItem_search_delete", "DROP TRIGGER PTItem_search_update",
                                  "DROP TABLE PTItem_search"})
        queryStore(store.path(), statement);
    ASSERT_EQ(queryStore(store.path(), "SELECT count(*) FROM sqlite_master WHERE name LIKE 'PTItem_search%'"), "0");

    store.reopen();
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM sqlite_master WHERE name LIKE 'PTItem_search%' AND type='trigger'"), "2");
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM PTItem_search WHERE PTItem_search MATCH '\"ewo\"'"), "1");
    EXPECT_EQ(search("homew"), QStringList{"note"});
}

TEST_F(SearchIndexTest, AnIndexKeptByAnInsertTriggerIsTakenOverByTheStoreWrites)
{
    store.close();
    queryStore(store.path(), "CREATE TRIGGER PTItem_search_insert AFTER INSERT ON PTItem BEGIN INSERT INTO "
                             "PTItem_search(rowid, nameNormalized, tagsStringNormalized, informativeTextNormalized) "
                             "VALUES(new.pk, new.nameNormalized, new.tagsStringNormalized, new.informativeTextNormalized); END");
    store.reopen();
    EXPECT_EQ(queryStore(store.path(), "SELECT count(*) FROM sqlite_master WHERE name = 'PTItem_search_insert'"), "0");

    auto context = store.worker();
    item(*context, "attic", "Attic", "", "");
    ASSERT_TRUE(context->save());
    EXPECT_EQ(search("attic"), QStringList{"attic"});
    expectIndexMatchesRows(store.path());
}

} // namespace
