// The source list over 50 groups of 40 sets and 1,000 loose sets: building it to its first paint, opening every
// group, and a rename from setData to the repainted row; each beside a QStandardItemModel of the same rows in a
// plain tree view.
#include "DemoLibrary.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "sidebar/PTSourceListController.h"
#include "sidebar/PTSourceListModel.h"

#include <QHeaderView>
#include <QImage>
#include <QStandardItemModel>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Groups = 50;
constexpr int SetsPerGroup = 40;
constexpr int LooseSets = 1000;

DemoLibrary& library()
{
    static DemoLibrary* made = [] {
        auto* demo = new DemoLibrary;
        PTGroupController& groups = PTGroupController::sharedController();
        for (int g = 0; g < Groups; ++g) {
            PTGroup* group = groups.createGroupWithName(QStringLiteral("Group %1").arg(g), nullptr);
            for (int s = 0; s < SetsPerGroup; ++s)
                demo->addSet(QStringLiteral("Set %1.%2").arg(g).arg(s))->setGroup(group);
        }
        for (int s = 0; s < LooseSets; ++s)
            demo->addSet(QStringLiteral("Loose %1").arg(s));
        demo->save();
        PTCollectionController::sharedController().purge();
        groups.purge();
        return demo;
    }();
    return *made;
}

void paint(QTreeView* view)
{
    QImage image(view->size(), QImage::Format_ARGB32_Premultiplied);
    view->render(&image);
    benchmark::DoNotOptimize(image.bits());
}

std::unique_ptr<PTSourceListController> makeList()
{
    auto list = std::make_unique<PTSourceListController>();
    list->setGridHandler([](auto&&...) {});
    list->view()->resize(240, 800);
    return list;
}

// The same rows as plain items.
std::unique_ptr<QStandardItemModel> makeStandardModel()
{
    auto model = std::make_unique<QStandardItemModel>();
    QStandardItem* root = model->invisibleRootItem();
    root->appendRow(new QStandardItem);
    root->appendRow(new QStandardItem(QStringLiteral("All")));
    root->appendRow(new QStandardItem(PTCollectionController::sharedController().miscCollection()->name()));
    root->appendRow(new QStandardItem(QStringLiteral("Your Icon Sets")));
    PTGroupController& groups = PTGroupController::sharedController();
    for (pt::store::ManagedObject* object : groups.objectsForGroup(nullptr)) {
        auto* row = new QStandardItem(PTGroupController::nameOf(object));
        if (auto* group = PTGroup::from(object)) {
            for (pt::store::ManagedObject* child : groups.objectsForGroup(group))
                row->appendRow(new QStandardItem(PTGroupController::nameOf(child)));
        }
        root->appendRow(row);
    }
    root->appendRow(new QStandardItem);
    return model;
}

std::unique_ptr<QTreeView> makeStandardView(QStandardItemModel* model)
{
    auto view = std::make_unique<QTreeView>();
    view->header()->hide();
    view->setIndentation(13);
    view->setModel(model);
    view->resize(240, 800);
    return view;
}

void BM_SourceListBuildToFirstPaint(benchmark::State& state)
{
    library();
    for (auto _ : state) {
        auto list = makeList();
        paint(list->view());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SourceListBuildToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_StandardModelBuildToFirstPaint(benchmark::State& state)
{
    library();
    for (auto _ : state) {
        auto model = makeStandardModel();
        auto view = makeStandardView(model.get());
        paint(view.get());
        state.PauseTiming();
        view.reset();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StandardModelBuildToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_SourceListExpandAll(benchmark::State& state)
{
    library();
    for (auto _ : state) {
        state.PauseTiming();
        auto list = makeList();
        paint(list->view());
        state.ResumeTiming();
        list->view()->expandAll();
        paint(list->view());
        state.PauseTiming();
        list.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SourceListExpandAll)->Unit(benchmark::kMillisecond);

void BM_StandardModelExpandAll(benchmark::State& state)
{
    library();
    for (auto _ : state) {
        state.PauseTiming();
        auto model = makeStandardModel();
        auto view = makeStandardView(model.get());
        paint(view.get());
        state.ResumeTiming();
        view->expandAll();
        paint(view.get());
        state.PauseTiming();
        view.reset();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StandardModelExpandAll)->Unit(benchmark::kMillisecond);

// setData of a new name on a visible set row, through the store and the name observer, to the repainted list.
void BM_SourceListRenameRoundTrip(benchmark::State& state)
{
    library();
    auto list = makeList();
    paint(list->view());
    const QModelIndex row = list->model()->index(PTSourceListModel::FixedTopRows + Groups + 2, 0);
    int round = 0;
    for (auto _ : state) {
        list->model()->setData(row, QStringLiteral("Renamed %1").arg(++round));
        paint(list->view());
    }
}
BENCHMARK(BM_SourceListRenameRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_StandardModelRenameRoundTrip(benchmark::State& state)
{
    library();
    auto model = makeStandardModel();
    auto view = makeStandardView(model.get());
    paint(view.get());
    const QModelIndex row = model->index(PTSourceListModel::FixedTopRows + Groups + 2, 0);
    int round = 0;
    for (auto _ : state) {
        model->setData(row, QStringLiteral("Renamed %1").arg(++round));
        paint(view.get());
    }
}
BENCHMARK(BM_StandardModelRenameRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace
