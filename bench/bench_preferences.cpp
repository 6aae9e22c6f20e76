// Opening the preferences window on its licences until the table first paints, against a bare window holding a
// QTableView of the same 1,000 rows; the two alternate in each iteration so that both see the same machine.
#include "BenchStoreHost.h"

#include "app/PTAppDefaults.h"
#include "app/preferences/PTPreferencesController.h"
#include "app/preferences/PTPreferencesLicencesViewController.h"
#include "library/PTLibraryController.h"
#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTStoreStack.h"
#include "ui/controls/PTTableView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

namespace {

constexpr int LicenceCount = 1000;

// Counts the paints a widget receives.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

void waitForPaint(const PaintWatch& watch)
{
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// A library whose main context holds the licences.
class LicenceLibrary {
public:
    LicenceLibrary()
    {
        PTAppDefaults::registerAll();
        PTLibraryController::setCurrentLibrary(
            PTLibraryController::initWithCreatingLibraryAtPath(dir_.filePath(QStringLiteral("Bench.ptlibrary"))));
        PTStoreStack::setHost(
            std::make_shared<BenchStoreHost>(PTLibraryController::currentLibrary()->persistantStoreCoordinatorPath()));
        for (int i = 0; i < LicenceCount; ++i) {
            PTLicence* licence = PTLicenceController::sharedController().createLicenceInContext(nullptr);
            licence->setName(QStringLiteral("Licence %1").arg(LicenceCount - i));
            licence->setUrl(QStringLiteral("https://licences.example/%1").arg(i));
            licence->setText(QStringLiteral("Permission is granted to use icon set %1.").arg(i));
        }
    }
    ~LicenceLibrary()
    {
        PTLicenceController::sharedController().purge();
        PTStoreStack::setHost(nullptr);
        PTLibraryController::setCurrentLibrary(nullptr);
    }

private:
    QTemporaryDir dir_;
};

double openPreferences()
{
    QElapsedTimer timer;
    timer.start();
    PTPreferencesController& prefs = PTPreferencesController::sharedController();
    prefs.presentPreferences(PTPreferencesLicencesViewController::Identifier);
    auto* pane = static_cast<PTPreferencesLicencesViewController*>(prefs.pane(PTPreferencesLicencesViewController::Identifier));
    PaintWatch watch(pane->tableView()->viewport());
    waitForPaint(watch);
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    delete prefs.preferencesWindow();
    return elapsed;
}

double openBareTable()
{
    QElapsedTimer timer;
    timer.start();
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* model = new QStandardItemModel(LicenceCount, 3, &window);
    for (int i = 0; i < LicenceCount; ++i) {
        model->setItem(i, 0, new QStandardItem(QStringLiteral("Licence %1").arg(LicenceCount - i)));
        model->setItem(i, 1, new QStandardItem(QStringLiteral("https://licences.example/%1").arg(i)));
        model->setItem(i, 2, new QStandardItem(QStringLiteral("Permission is granted to use icon set %1.").arg(i)));
    }
    auto* table = new QTableView;
    table->setModel(model);
    table->setSortingEnabled(true);
    table->sortByColumn(0, Qt::AscendingOrder);
    layout->addWidget(table);
    window.resize(560, 400);
    PaintWatch watch(table->viewport());
    window.show();
    waitForPaint(watch);
    return double(timer.nsecsElapsed()) / 1e6;
}

void PreferencesFirstPaint(benchmark::State& state)
{
    LicenceLibrary library;
    double preferences = 0;
    double bare = 0;
    for (auto _ : state) {
        const double ours = openPreferences();
        const double theirs = openBareTable();
        preferences += ours;
        bare += theirs;
        state.SetIterationTime((ours + theirs) / 1000);
    }
    const double runs = double(state.iterations());
    state.counters["preferences_ms"] = preferences / runs;
    state.counters["bare_table_ms"] = bare / runs;
    state.counters["ratio"] = preferences / bare;
}

} // namespace

BENCHMARK(PreferencesFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
