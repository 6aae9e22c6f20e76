// The object store against the bare sqlite3 C API running the same SQL: the ratio of each pair is the store's
// overhead (aim: within 1.5x). Run with --benchmark_filter=Store to see the pairs side by side.
#include "library/entities/PTModel.h"
#include "platform/store/ObjectContext.h"

#include <QDateTime>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace pt::store;

namespace {

constexpr int ItemCount = 100000;
constexpr int SetSize = 10000;
constexpr int BatchSize = 1000;

const QStringList words{"arrow", "left", "home", "user", "mail", "star", "heart", "cloud", "file", "folder"};

struct ItemValues {
    QString name;
    QString normalized;
    QString tags;
};

const QVector<ItemValues>& itemValues()
{
    static const QVector<ItemValues> values = [] {
        QVector<ItemValues> list;
        list.reserve(ItemCount);
        for (int i = 0; i < ItemCount; ++i) {
            const QString name = QStringLiteral("%1 %2 %3").arg(words[i % 10], words[(i / 10) % 10]).arg(i);
            list.append({name.toUpper(), name, QStringLiteral("tag%1,common").arg(i % 50)});
        }
        return list;
    }();
    return values;
}

const QString itemColumns = QStringLiteral(
    "pk, opt, name, nameNormalized, tagsString, tagsStringNormalized, informativeText, informativeTextNormalized, "
    "newFileName, originalFileName, unicode, type, width, height, date, location, info, collection, licence");

void bindText(sqlite3_stmt* statement, int position, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, position, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

sqlite3* openBare(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON", nullptr, nullptr,
                 nullptr);
    return db;
}

// Reads every column of the current row, as an application would.
int readRow(sqlite3_stmt* statement)
{
    int size = 0;
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        switch (sqlite3_column_type(statement, i)) {
        case SQLITE_TEXT:
            size += int(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)),
                                          sqlite3_column_bytes(statement, i)).size());
            break;
        case SQLITE_FLOAT:
            size += int(sqlite3_column_double(statement, i));
            break;
        default:
            size += int(sqlite3_column_int64(statement, i));
        }
    }
    return size;
}

void insertThroughContext(const std::shared_ptr<StoreCoordinator>& coordinator)
{
    ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
    ManagedObject* licence = context.insert("PTLicence");
    licence->setValue("name", "MIT");
    QVector<ObjectID> sets;
    for (int s = 0; s < ItemCount / SetSize; ++s) {
        ManagedObject* set = context.insert("PTCollection");
        set->setValue("name", QStringLiteral("Set %1").arg(s));
        set->setToOne("licence", licence);
        context.obtainPermanentIDs({set});
        sets.append(set->objectID());
    }
    context.save();
    const ObjectID licenceID = licence->objectID();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto& values = itemValues();
    for (int batch = 0; batch < ItemCount / BatchSize; ++batch) {
        context.reset();
        ManagedObject* set = context.objectWithID(sets[batch * BatchSize / SetSize]);
        ManagedObject* itemLicence = context.objectWithID(licenceID);
        for (int i = batch * BatchSize; i < (batch + 1) * BatchSize; ++i) {
            // Keys and values as the typed setters pass them: constant strings, 64-bit integers.
            ManagedObject* item = context.insert(QStringLiteral("PTItem"));
            item->setValue(QStringLiteral("name"), values[i].name);
            item->setValue(QStringLiteral("nameNormalized"), values[i].normalized);
            item->setValue(QStringLiteral("tagsString"), values[i].tags);
            item->setValue(QStringLiteral("tagsStringNormalized"), values[i].tags);
            item->setValue(QStringLiteral("type"), qint64(0));
            item->setValue(QStringLiteral("width"), qint64(24));
            item->setValue(QStringLiteral("height"), qint64(24));
            item->setValue(QStringLiteral("date"), now);
            item->setToOne(QStringLiteral("collection"), set);
            item->setToOne(QStringLiteral("licence"), itemLicence);
        }
        if (!context.save())
            std::abort();
    }
}

// A store of 100,000 items in ten sets of 10,000, with licences, made once for the reading benchmarks.
struct SharedStore {
    SharedStore()
    {
        path = dir.filePath("Rorev.db");
        coordinator = *StoreCoordinator::open(path, PTModel::current());
        insertThroughContext(coordinator);
        ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
        for (int g = 0; g < 20; ++g)
            context.insert("PTGroup")->setValue("name", QStringLiteral("Group %1").arg(g));
        context.save();
        FetchRequest request;
        request.entityName = "PTCollection";
        request.predicate = *Predicate::parse("name=%@", {QStringLiteral("Set 3")});
        setID = context.fetch(request)->front()->objectID();
    }
    QTemporaryDir dir;
    QString path;
    std::shared_ptr<StoreCoordinator> coordinator;
    ObjectID setID;
};

SharedStore& sharedStore()
{
    static SharedStore store;
    return store;
}

} // namespace

static void BM_Store_Insert100kInBatches(benchmark::State& state)
{
    itemValues();
    for (auto _ : state) {
        QTemporaryDir dir;
        auto coordinator = *StoreCoordinator::open(dir.filePath("Rorev.db"), PTModel::current());
        insertThroughContext(coordinator);
    }
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(BM_Store_Insert100kInBatches)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_Sqlite_Insert100kInBatches(benchmark::State& state)
{
    const auto& values = itemValues();
    for (auto _ : state) {
        QTemporaryDir dir;
        // The same schema, made by the store, then filled through a bare connection.
        { auto made = StoreCoordinator::open(dir.filePath("Rorev.db"), PTModel::current()); }
        sqlite3* db = openBare(dir.filePath("Rorev.db"));
        sqlite3_exec(db, "BEGIN IMMEDIATE; INSERT INTO PTLicence(pk, opt, name) VALUES(1, 1, 'MIT');"
                         "INSERT INTO PTCollection(pk, opt, name, licence) SELECT value, 1, 'Set', 1 FROM "
                         "generate_series(1, 10); COMMIT", nullptr, nullptr, nullptr);
        sqlite3_stmt* reserve = nullptr;
        sqlite3_prepare_v2(db, "UPDATE pt_primarykey SET max = max + ? WHERE entity = ? RETURNING max", -1, &reserve, nullptr);
        sqlite3_stmt* insert = nullptr;
        const QByteArray sql = QStringLiteral("INSERT INTO PTItem(%1) VALUES(?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                   .arg(itemColumns).toUtf8();
        sqlite3_prepare_v2(db, sql.constData(), -1, &insert, nullptr);
        const double now = double(QDateTime::currentMSecsSinceEpoch()) / 1000.0;
        for (int batch = 0; batch < ItemCount / BatchSize; ++batch) {
            sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            sqlite3_bind_int64(reserve, 1, BatchSize);
            sqlite3_bind_text(reserve, 2, "PTItem", -1, SQLITE_STATIC);
            sqlite3_step(reserve);
            sqlite3_reset(reserve);
            sqlite3_exec(db, "COMMIT; BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            for (int i = batch * BatchSize; i < (batch + 1) * BatchSize; ++i) {
                sqlite3_bind_int64(insert, 1, i + 1);
                bindText(insert, 2, values[i].name);
                bindText(insert, 3, values[i].normalized);
                bindText(insert, 4, values[i].tags);
                bindText(insert, 5, values[i].tags);
                for (int column = 6; column <= 10; ++column)
                    sqlite3_bind_null(insert, column);
                sqlite3_bind_int64(insert, 11, 0);
                sqlite3_bind_int64(insert, 12, 24);
                sqlite3_bind_int64(insert, 13, 24);
                sqlite3_bind_double(insert, 14, now);
                sqlite3_bind_null(insert, 15);
                sqlite3_bind_null(insert, 16);
                sqlite3_bind_int64(insert, 17, 1 + i / SetSize);
                sqlite3_bind_int64(insert, 18, 1);
                if (sqlite3_step(insert) != SQLITE_DONE)
                    std::abort();
                sqlite3_reset(insert);
            }
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        }
        sqlite3_finalize(insert);
        sqlite3_finalize(reserve);
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(BM_Sqlite_Insert100kInBatches)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_Store_FetchSetWithLicences(benchmark::State& state)
{
    SharedStore& store = sharedStore();
    for (auto _ : state) {
        ObjectContext context(ObjectContext::Kind::Confinement, store.coordinator);
        FetchRequest request;
        request.entityName = "PTItem";
        request.predicate = *Predicate::parse("collection=%@", {store.setID});
        request.prefetch = QStringList{"licence"};
        auto items = context.fetch(request);
        if (!items || items->size() != SetSize)
            std::abort();
        benchmark::DoNotOptimize(items->front()->toOne("licence")->value("name"));
    }
    state.SetItemsProcessed(state.iterations() * SetSize);
}
BENCHMARK(BM_Store_FetchSetWithLicences)->Unit(benchmark::kMillisecond);

static void BM_Sqlite_FetchSetWithLicences(benchmark::State& state)
{
    SharedStore& store = sharedStore();
    sqlite3* db = openBare(store.path);
    sqlite3_stmt* items = nullptr;
    sqlite3_prepare_v2(db, QStringLiteral("SELECT %1 FROM PTItem WHERE collection = ?").arg(itemColumns).toUtf8().constData(),
                       -1, &items, nullptr);
    sqlite3_stmt* licences = nullptr;
    sqlite3_prepare_v2(db, "SELECT pk, opt, name, url, text FROM PTLicence WHERE pk IN (SELECT value FROM json_each(?))",
                       -1, &licences, nullptr);
    for (auto _ : state) {
        int total = 0;
        QSet<qint64> licenceKeys;
        sqlite3_bind_int64(items, 1, store.setID.primaryKey());
        while (sqlite3_step(items) == SQLITE_ROW) {
            total += readRow(items);
            licenceKeys.insert(sqlite3_column_int64(items, 18));
        }
        sqlite3_reset(items);
        QByteArray json("[");
        for (qint64 key : licenceKeys)
            json += QByteArray::number(key) + ',';
        json.back() = ']';
        sqlite3_bind_text(licences, 1, json.constData(), int(json.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(licences) == SQLITE_ROW)
            total += readRow(licences);
        sqlite3_reset(licences);
        benchmark::DoNotOptimize(total);
    }
    sqlite3_finalize(items);
    sqlite3_finalize(licences);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * SetSize);
}
BENCHMARK(BM_Sqlite_FetchSetWithLicences)->Unit(benchmark::kMillisecond);

static const QString searchTemplate = QStringLiteral(
    "nameNormalized CONTAINS[cd] $term OR             tagsStringNormalized CONTAINS[cd] $term OR             "
    "informativeTextNormalized CONTAINS[cd] $term");
static const QStringList searchTerms{"arrow", "left", "12"};

static void BM_Store_Search(benchmark::State& state)
{
    SharedStore& store = sharedStore();
    const Predicate term = *Predicate::parse(searchTemplate);
    for (auto _ : state) {
        ObjectContext context(ObjectContext::Kind::Confinement, store.coordinator);
        QVector<Predicate> terms{*Predicate::parse("collection!=nil")};
        for (int i = 0; i < state.range(0); ++i)
            terms.append(term.substitute({{"term", searchTerms[i]}}));
        FetchRequest request;
        request.entityName = "PTItem";
        request.predicate = Predicate::andPredicate(terms);
        auto ids = context.fetchIDs(request);
        benchmark::DoNotOptimize(ids->size());
    }
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(BM_Store_Search)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

static void BM_Sqlite_Search(benchmark::State& state)
{
    SharedStore& store = sharedStore();
    sqlite3* db = openBare(store.path);
    QString sql = QStringLiteral("SELECT pk FROM PTItem WHERE (collection IS NOT NULL");
    for (int i = 0; i < state.range(0); ++i)
        sql += QStringLiteral(" AND (instr(nameNormalized, ?) > 0 OR instr(tagsStringNormalized, ?) > 0 OR "
                              "instr(informativeTextNormalized, ?) > 0)");
    sql += u')';
    sqlite3_stmt* search = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &search, nullptr);
    for (auto _ : state) {
        for (int i = 0; i < state.range(0); ++i)
            for (int k = 0; k < 3; ++k)
                bindText(search, 1 + i * 3 + k, searchTerms[i]);
        QVector<qint64> keys;
        while (sqlite3_step(search) == SQLITE_ROW)
            keys.append(sqlite3_column_int64(search, 0));
        sqlite3_reset(search);
        benchmark::DoNotOptimize(keys.size());
    }
    sqlite3_finalize(search);
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * ItemCount);
}
BENCHMARK(BM_Sqlite_Search)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

static void BM_Store_OpenAndFetchSetsAndGroups(benchmark::State& state)
{
    SharedStore& store = sharedStore();
    for (auto _ : state) {
        auto coordinator = *StoreCoordinator::open(store.path, PTModel::current());
        ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
        int count = 0;
        for (const char* entity : {"PTCollection", "PTGroup"}) {
            FetchRequest request;
            request.entityName = entity;
            request.returnsObjectsAsFaults = false;
            count += int(context.fetch(request)->size());
        }
        benchmark::DoNotOptimize(count);
    }
}
BENCHMARK(BM_Store_OpenAndFetchSetsAndGroups)->Unit(benchmark::kMicrosecond);

static void BM_Sqlite_OpenAndFetchSetsAndGroups(benchmark::State& state)
{
    SharedStore& store = sharedStore();
    for (auto _ : state) {
        sqlite3* db = openBare(store.path);
        sqlite3_exec(db, "SELECT key, value FROM pt_metadata", nullptr, nullptr, nullptr);
        int total = 0;
        for (const char* sql : {"SELECT pk, opt, name, normalizedSearch, identifier, fileName, date, informativeText, "
                                "sort, type, version, author, license, grp, licence FROM PTCollection",
                                "SELECT pk, opt, name, informativeText, sort, parent FROM PTGroup"}) {
            sqlite3_stmt* statement = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
            while (sqlite3_step(statement) == SQLITE_ROW)
                total += readRow(statement);
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_Sqlite_OpenAndFetchSetsAndGroups)->Unit(benchmark::kMicrosecond);
