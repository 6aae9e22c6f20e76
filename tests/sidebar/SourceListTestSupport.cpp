#include "SourceListTestSupport.h"

#include "TestSupport.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "sidebar/PTSourceListModel.h"

void SourceListTest::SetUp()
{
    LibraryTest::SetUp();
    PTLibraryShell::install(shell);
}

void SourceListTest::TearDown()
{
    list_.reset();
    LibraryTest::TearDown();
    PTLibraryShell::install(nullptr);
}

PTSourceListController& SourceListTest::list()
{
    if (!list_) {
        // Sets made after a group was are not in the controllers' cached lists yet.
        PTCollectionController::sharedController().purge();
        PTGroupController::sharedController().purge();
        list_ = std::make_unique<PTSourceListController>();
        list_->setGridHandler([this](const QVector<PTCollection*>& sets, const PTSourceListController::Objects& top,
                                     bool force) {
            GridCall call;
            for (PTCollection* set : sets)
                call.sets << set->name();
            call.topLevel = top.size();
            call.force = force;
            call.interval = list_->selectionTimer().interval();
            gridCalls.push_back(call);
        });
        list_->view()->resize(240, 900);
        list_->view()->show();
    }
    return *list_;
}

PTGroup* SourceListTest::makeGroup(const QString& name, PTGroup* parent)
{
    return PTGroupController::sharedController().createGroupWithName(name, parent);
}

PTCollection* SourceListTest::makeSetIn(const QString& name, PTGroup* group)
{
    PTCollection* set = makeSet(name);
    if (group)
        PTGroupController::sharedController().moveObject(set, group, 1 << 20);
    return set;
}

QModelIndex SourceListTest::topRow(int row)
{
    return list().model()->index(row, 0);
}

QStringList SourceListTest::visibleTitles()
{
    QStringList titles;
    PTSourceListModel* model = list().model();
    for (QModelIndex index = topRow(0); index.isValid(); index = view().indexBelow(index)) {
        int depth = 0;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            ++depth;
        titles << QString(depth * 2, QLatin1Char(' ')) + model->data(index).toString();
    }
    return titles;
}

QStringList SourceListTest::selectedTitles()
{
    QStringList titles;
    QModelIndexList rows = view().selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [this](const QModelIndex& a, const QModelIndex& b) {
        return view().visualRect(a).top() < view().visualRect(b).top();
    });
    for (const QModelIndex& row : rows)
        titles << row.data().toString();
    return titles;
}

bool SourceListTest::waitForGridCalls(int count)
{
    list();
    return pt::test::runMainQueueUntil([this, count] { return int(gridCalls.size()) >= count; });
}
