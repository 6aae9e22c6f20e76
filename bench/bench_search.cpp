// Searching 100,000 items of real icon names the way the search field does (the search template per term, AND
// "collection != nil", narrowing by the previous results), through the store with its trigram index, next to a
// plain LIKE '%term%' query on the same table through the sqlite3 C API. Run with --benchmark_filter=Search.
#include "BenchSearchStore.h"

#include "library/entities/PTModel.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/TextFold.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace pt::store;

namespace {

const QString SearchTemplate = QStringLiteral(
    "nameNormalized CONTAINS[cd] $term OR tagsStringNormalized CONTAINS[cd] $term OR "
    "informativeTextNormalized CONTAINS[cd] $term");

// One search as the search controller's worker runs it, in a throw-away context.
QVector<ObjectID> search(const QStringList& terms, const QVector<ObjectID>& narrowing = {})
{
    static const Predicate searchTemplate = *Predicate::parse(SearchTemplate);
    QVector<Predicate> parts;
    if (!narrowing.isEmpty())
        parts << Predicate::in(QStringLiteral("SELF"), narrowing);
    parts << *Predicate::parse(QStringLiteral("collection!=nil"));
    for (const QString& term : terms)
        parts << searchTemplate.substitute({{QStringLiteral("term"), foldWidthCaseAndDiacritics(term)}});
    ObjectContext context(ObjectContext::Kind::Confinement, BenchSearchStore::shared().coordinator);
    return context.fetchIDs({QStringLiteral("PTItem"), Predicate::andPredicate(parts)}).valueOr({});
}

void BM_Search_Store(benchmark::State& state)
{
    BenchSearchStore::shared(); // made before the timing starts
    const QStringList& terms = benchSearchTerms()[state.range(0) - 1];
    qint64 found = 0;
    for (auto _ : state)
        found = search(terms).size();
    state.counters["found"] = double(found);
}
BENCHMARK(BM_Search_Store)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// "arrow" already found; "arrow left" searches within its results.
void BM_Search_StoreNarrowing(benchmark::State& state)
{
    const QVector<ObjectID> previous = search({QStringLiteral("arrow")});
    qint64 found = 0;
    for (auto _ : state)
        found = search({QStringLiteral("arrow"), QStringLiteral("left")}, previous).size();
    state.counters["found"] = double(found);
    state.counters["narrowedFrom"] = double(previous.size());
}
BENCHMARK(BM_Search_StoreNarrowing)->Unit(benchmark::kMillisecond);

// Two characters are too few for trigrams: every row is compared.
void BM_Search_StoreShortTerm(benchmark::State& state)
{
    BenchSearchStore::shared();
    qint64 found = 0;
    for (auto _ : state)
        found = search({QStringLiteral("ar")}).size();
    state.counters["found"] = double(found);
}
BENCHMARK(BM_Search_StoreShortTerm)->Unit(benchmark::kMillisecond);

void BM_Search_SqliteLike(benchmark::State& state)
{
    const QStringList& terms = benchSearchTerms()[state.range(0) - 1];
    sqlite3* db = nullptr;
    sqlite3_open_v2(BenchSearchStore::shared().path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QString sql = QStringLiteral("SELECT pk FROM PTItem WHERE collection IS NOT NULL");
    for (int i = 1; i <= terms.size(); ++i)
        sql += QStringLiteral(" AND (nameNormalized LIKE ?%1 OR tagsStringNormalized LIKE ?%1 OR "
                              "informativeTextNormalized LIKE ?%1)").arg(i);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &query, nullptr);
    qint64 found = 0;
    for (auto _ : state) {
        for (int i = 0; i < terms.size(); ++i) {
            const QByteArray pattern = ('%' + terms[i] + '%').toUtf8();
            sqlite3_bind_text(query, i + 1, pattern.constData(), int(pattern.size()), SQLITE_TRANSIENT);
        }
        found = 0;
        while (sqlite3_step(query) == SQLITE_ROW)
            found += sqlite3_column_int64(query, 0) > 0;
        sqlite3_reset(query);
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    state.counters["found"] = double(found);
}
BENCHMARK(BM_Search_SqliteLike)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// The one-time cost when a library made before the index opens: the index built over 100,000 items. Last, as
// it drops and rebuilds the index of the shared store.
void BM_Search_BuildIndexOnOpen(benchmark::State& state)
{
    const QString path = BenchSearchStore::shared().path;
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "DROP TRIGGER PTItem_search_delete; DROP TRIGGER PTItem_search_update; "
                         "DROP TABLE PTItem_search", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        state.ResumeTiming();
        benchmark::DoNotOptimize(StoreCoordinator::open(path, PTModel::current()).ok());
    }
}
BENCHMARK(BM_Search_BuildIndexOnOpen)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
