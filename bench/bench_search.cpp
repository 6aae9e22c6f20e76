// Searching 100,000 items of real icon names the way the search field does (the search template per term, AND
// "collection != nil", narrowing by the previous results), through the store with its trigram index, next to a
// plain LIKE '%term%' query on the same table through the sqlite3 C API. Run with --benchmark_filter=Search.
#include "library/entities/PTModel.h"
#include "platform/store/ObjectContext.h"
#include "platform/store/TextFold.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace pt::store;

namespace {

constexpr int ItemCount = 100000;
constexpr int SetCount = 100;

const QString SearchTemplate = QStringLiteral(
    "nameNormalized CONTAINS[cd] $term OR tagsStringNormalized CONTAINS[cd] $term OR "
    "informativeTextNormalized CONTAINS[cd] $term");

// Glyph names of the Material Design icon font and file names of the Papirus theme, as words.
QStringList iconNames()
{
    QStringList names;
    QFile font(QStringLiteral("/usr/share/fonts/svg/materialdesignicons-webfont/materialdesignicons-webfont.svg"));
    if (font.open(QIODevice::ReadOnly)) {
        static const QRegularExpression glyph(QStringLiteral("glyph-name=\"([^\"]+)\""));
        for (auto it = glyph.globalMatch(QString::fromUtf8(font.readAll())); it.hasNext();)
            names << it.next().captured(1);
    }
    QDirIterator papirus(QStringLiteral("/usr/share/icons/Papirus/48x48"), {QStringLiteral("*.svg")}, QDir::Files,
                         QDirIterator::Subdirectories);
    while (papirus.hasNext())
        names << papirus.nextFileInfo().completeBaseName();
    names.removeDuplicates();
    for (QString& name : names)
        name.replace(u'-', u' ').replace(u'_', u' ');
    return names;
}

// A store of 100,000 items in 100 sets, made once for the whole run.
struct SearchStore {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Search.db"));
    std::shared_ptr<StoreCoordinator> coordinator;
    Predicate searchTemplate = *Predicate::parse(SearchTemplate);

    SearchStore()
    {
        coordinator = *StoreCoordinator::open(path, PTModel::current());
        const QStringList names = iconNames();
        ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
        QVector<ManagedObject*> sets;
        for (int s = 0; s < SetCount; ++s) {
            sets << context.insert(QStringLiteral("PTCollection"));
            sets.back()->setValue(QStringLiteral("name"), QStringLiteral("Set %1").arg(s));
        }
        for (int i = 0; i < ItemCount; ++i) {
            const QString name = names[i % names.size()];
            const QString tags = names[(i * 7 + 3) % names.size()].split(u' ').join(u',');
            ManagedObject* item = context.insert(QStringLiteral("PTItem"));
            item->setValue(QStringLiteral("name"), name);
            item->setValue(QStringLiteral("nameNormalized"), foldWidthCaseAndDiacritics(name));
            item->setValue(QStringLiteral("tagsString"), tags);
            item->setValue(QStringLiteral("tagsStringNormalized"), foldWidthCaseAndDiacritics(tags));
            item->setToOne(QStringLiteral("collection"), sets[i % SetCount]);
            if ((i + 1) % 10000 == 0) {
                (void)context.save();
                QVector<ObjectID> setIDs;
                for (ManagedObject* set : sets)
                    setIDs << set->objectID();
                context.reset();
                for (int s = 0; s < SetCount; ++s)
                    sets[s] = context.objectWithID(setIDs[s]);
            }
        }
    }

    // One search as the search controller's worker runs it, in a throw-away context.
    QVector<ObjectID> search(const QStringList& terms, const QVector<ObjectID>& narrowing = {})
    {
        QVector<Predicate> parts;
        if (!narrowing.isEmpty())
            parts << Predicate::in(QStringLiteral("SELF"), narrowing);
        parts << *Predicate::parse(QStringLiteral("collection!=nil"));
        for (const QString& term : terms)
            parts << searchTemplate.substitute({{QStringLiteral("term"), foldWidthCaseAndDiacritics(term)}});
        ObjectContext context(ObjectContext::Kind::Confinement, coordinator);
        return context.fetchIDs({QStringLiteral("PTItem"), Predicate::andPredicate(parts)}).valueOr({});
    }
};

SearchStore& searchStore()
{
    static SearchStore store;
    return store;
}

const QVector<QStringList> termSets{
    {QStringLiteral("account")},
    {QStringLiteral("arrow"), QStringLiteral("left")},
    {QStringLiteral("file"), QStringLiteral("document"), QStringLiteral("outline")},
};

void BM_Search_Store(benchmark::State& state)
{
    SearchStore& store = searchStore();
    const QStringList& terms = termSets[state.range(0) - 1];
    qint64 found = 0;
    for (auto _ : state)
        found = store.search(terms).size();
    state.counters["found"] = double(found);
}
BENCHMARK(BM_Search_Store)->DenseRange(1, 3)->Unit(benchmark::kMillisecond);

// "arrow" already found; "arrow left" searches within its results.
void BM_Search_StoreNarrowing(benchmark::State& state)
{
    SearchStore& store = searchStore();
    const QVector<ObjectID> previous = store.search({QStringLiteral("arrow")});
    qint64 found = 0;
    for (auto _ : state)
        found = store.search({QStringLiteral("arrow"), QStringLiteral("left")}, previous).size();
    state.counters["found"] = double(found);
    state.counters["narrowedFrom"] = double(previous.size());
}
BENCHMARK(BM_Search_StoreNarrowing)->Unit(benchmark::kMillisecond);

// Two characters are too few for trigrams: every row is compared.
void BM_Search_StoreShortTerm(benchmark::State& state)
{
    SearchStore& store = searchStore();
    qint64 found = 0;
    for (auto _ : state)
        found = store.search({QStringLiteral("ar")}).size();
    state.counters["found"] = double(found);
}
BENCHMARK(BM_Search_StoreShortTerm)->Unit(benchmark::kMillisecond);

void BM_Search_SqliteLike(benchmark::State& state)
{
    SearchStore& store = searchStore();
    const QStringList& terms = termSets[state.range(0) - 1];
    sqlite3* db = nullptr;
    sqlite3_open_v2(store.path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
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

} // namespace
