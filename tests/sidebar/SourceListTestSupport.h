#pragma once

#include "FakeLibraryShell.h"
#include "LibraryTestSupport.h"

#include "library/entities/PTGroup.h"
#include "sidebar/PTSourceListController.h"

#include <QStringList>

#include <memory>

// A source list on a real library whose selections go to a recording grid instead of the grid controller.
class SourceListTest : public pt::test::LibraryTest {
protected:
    struct GridCall {
        QStringList sets;
        int topLevel = 0;
        bool force = false;
        int interval = 0;
    };

    void SetUp() override;
    void TearDown() override;

    // The controller, made on first use (after the test stored what it restores).
    PTSourceListController& list();
    PTSourceListView& view() { return *list().view(); }
    PTGroup* makeGroup(const QString& name, PTGroup* parent = nullptr);
    PTCollection* makeSetIn(const QString& name, PTGroup* group);
    // The titles of the rows the outline shows, children indented by two spaces per level.
    QStringList visibleTitles();
    QModelIndex indexOf(pt::store::ManagedObject* object) { return list().indexForObject(object); }
    QModelIndex topRow(int row);
    QStringList selectedTitles();
    bool waitForGridCalls(int count);

    std::vector<GridCall> gridCalls;
    std::shared_ptr<pt::test::FakeLibraryShell> shell = std::make_shared<pt::test::FakeLibraryShell>();

private:
    std::unique_ptr<PTSourceListController> list_;
};
