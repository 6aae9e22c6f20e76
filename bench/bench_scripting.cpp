// Scripting calls over the session bus, through a second connection as another program makes them, next to an echo
// method that answers a prebuilt reply of the same shape and size: the cost of Pictern's own work over the bus's.
// Run under a bus: dbus-run-session -- build/bench/pictern_bench_scripting
#include "BenchStoreHost.h"

#include "app/scripting/PTScriptingAdaptor.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/store/PTStoreFunctions.h"
#include "library/store/PTStoreStack.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Chains = 50;
constexpr int Depth = 10;
constexpr int SetsPerGroup = 10;
const QString ScriptingPath = QStringLiteral("/com/pictern/bench/Scripting");
const QString EchoPath = QStringLiteral("/com/pictern/bench/Echo");
const QString EchoInterface = QStringLiteral("com.pictern.bench.Echo");

// Answers what it was given once, as fast as the bus lets it.
class Echo : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.pictern.bench.Echo")
public:
    QList<PTScriptingAdaptor::Entry> collections;
    QList<PTScriptingAdaptor::Entry> groups;
    QList<PTScriptingAdaptor::Entry> nested;

public slots:
    QList<PTScriptingAdaptor::Entry> Collections() { return collections; }
    QList<PTScriptingAdaptor::Entry> Groups() { return groups; }
    QList<PTScriptingAdaptor::Entry> GroupCollections(const QString&) { return nested; }
};

struct Fixture {
    QTemporaryDir dir;
    QObject served;
    Echo echo;
    QDBusConnection caller = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("bench"));
    QString deepest; // the first chain's top group: its sets at every depth
    PTScriptingAdaptor* adaptor = nullptr;

    Fixture()
    {
        PTStoreStack::setHost(std::make_shared<BenchStoreHost>(dir.filePath(QStringLiteral("Scripting.db"))));
        pt::store::ObjectContext& context = *PTMainManagedObjectContext();
        QVector<PTGroup*> tops;
        for (int chain = 0; chain < Chains; ++chain) {
            PTGroup* parent = nullptr;
            for (int level = 0; level < Depth; ++level) {
                PTGroup* group = PTGroup::insert(context);
                group->setName(QStringLiteral("Group %1.%2").arg(chain).arg(level));
                group->setSort(level);
                group->setGroup(parent);
                for (int s = 0; s < SetsPerGroup; ++s) {
                    PTCollection* set = PTCollection::insert(context);
                    set->setName(QStringLiteral("Set %1.%2.%3").arg(chain).arg(level).arg(s));
                    set->setSort(s);
                    set->setGroup(group);
                }
                if (!parent)
                    tops.append(group);
                parent = group;
            }
        }
        if (!context.save())
            qFatal("the benchmark library could not be saved");
        deepest = tops.first()->objectID().uriString();
        adaptor = new PTScriptingAdaptor(&served, QDBusConnection::sessionBus());
        adaptor->setReady(true);
        QDBusConnection::sessionBus().registerObject(ScriptingPath, &served, QDBusConnection::ExportAdaptors);
        echo.collections = answer(ScriptingPath, PTScriptingAdaptor::Interface, QStringLiteral("Collections"));
        echo.groups = answer(ScriptingPath, PTScriptingAdaptor::Interface, QStringLiteral("Groups"));
        echo.nested = answer(ScriptingPath, PTScriptingAdaptor::Interface, QStringLiteral("GroupCollections"), {deepest});
        QDBusConnection::sessionBus().registerObject(EchoPath, &echo, QDBusConnection::ExportAllSlots);
    }

    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& arguments = {})
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(QDBusConnection::sessionBus().baseService(), path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCallWatcher watcher(caller.asyncCall(message));
        QEventLoop loop;
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        if (!watcher.isFinished())
            loop.exec();
        return watcher.reply();
    }

    QList<PTScriptingAdaptor::Entry> answer(const QString& path, const QString& interface, const QString& method,
                                            const QVariantList& arguments = {})
    {
        const QDBusMessage reply = call(path, interface, method, arguments);
        if (reply.type() != QDBusMessage::ReplyMessage)
            qFatal("%s failed: %s", qPrintable(method), qPrintable(reply.errorMessage()));
        return qdbus_cast<QList<PTScriptingAdaptor::Entry>>(reply.arguments().first());
    }
};

Fixture& fixture()
{
    static Fixture made;
    return made;
}

void run(benchmark::State& state, bool echo, const QString& method, const QVariantList& arguments = {})
{
    Fixture& f = fixture();
    qsizetype count = 0;
    for (auto _ : state) {
        count = echo ? f.answer(EchoPath, EchoInterface, method, arguments).size()
                     : f.answer(ScriptingPath, PTScriptingAdaptor::Interface, method, arguments).size();
    }
    state.counters["entries"] = double(count);
}

void Collections(benchmark::State& state) { run(state, false, QStringLiteral("Collections")); }
void CollectionsEcho(benchmark::State& state) { run(state, true, QStringLiteral("Collections")); }
void Groups(benchmark::State& state) { run(state, false, QStringLiteral("Groups")); }
void GroupsEcho(benchmark::State& state) { run(state, true, QStringLiteral("Groups")); }
void Nested(benchmark::State& state) { run(state, false, QStringLiteral("GroupCollections"), {fixture().deepest}); }
void NestedEcho(benchmark::State& state) { run(state, true, QStringLiteral("GroupCollections"), {fixture().deepest}); }

BENCHMARK(Collections)->Name("Scripting/Collections 5000 sets")->Unit(benchmark::kMillisecond);
BENCHMARK(CollectionsEcho)->Name("Scripting/echo of the same reply")->Unit(benchmark::kMillisecond);
BENCHMARK(Groups)->Name("Scripting/Groups 500 groups")->Unit(benchmark::kMillisecond);
BENCHMARK(GroupsEcho)->Name("Scripting/echo of the same groups")->Unit(benchmark::kMillisecond);
BENCHMARK(Nested)->Name("Scripting/GroupCollections ten deep")->Unit(benchmark::kMillisecond);
BENCHMARK(NestedEcho)->Name("Scripting/echo of the same sets")->Unit(benchmark::kMillisecond);

} // namespace

#include "bench_scripting.moc"
