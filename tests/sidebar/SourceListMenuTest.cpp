#include "FakeBrowserSeams.h"
#include "SourceListTestSupport.h"
#include "TestSupport.h"

#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "platform/runtime/Defaults.h"
#include "platform/ui/SheetHost.h"
#include "sidebar/PTObjectSelectionController.h"
#include "sidebar/PTSourceListView.h"

#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Entries as "title" ("title (off)" when disabled), separators as "---", submenus indented.
QStringList entries(const QMenu* menu, const QString& indent = {})
{
    QStringList lines;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            lines << indent + "---";
            continue;
        }
        lines << indent + action->text() + (action->isEnabled() ? "" : " (off)");
        if (action->menu())
            lines += entries(action->menu(), indent + "  ");
    }
    return lines;
}

QAction* findAction(const QMenu* menu, const QString& title)
{
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            if (QAction* inner = findAction(action->menu(), title))
                return inner;
        } else if (action->text() == title) {
            return action;
        }
    }
    return nullptr;
}

class SourceListMenuTest : public SourceListTest {
protected:
    std::unique_ptr<QMenu> menuFor(const PTSourceListController::Objects& objects)
    {
        return std::unique_ptr<QMenu>(list().objectSelectionController().contextualMenuForItems(objects));
    }

};

} // namespace

TEST_F(SourceListMenuTest, MenusByWhatIsSelected)
{
    PTGroup* outer = makeGroup("Outer");
    PTGroup* inner = makeGroup("Inner", outer);
    PTCollection* a = makeSetIn("A", outer);
    PTCollection* b = makeSet("B");
    saveAndWait();
    PTCollection* misc = PTCollectionController::sharedController().miscCollection();
    const QStringList moveTo{"Move To", "  All", "  ---", "  Outer", "    Outer", "    ---", "    Inner"};
    struct Case {
        const char* name;
        PTSourceListController::Objects objects;
        QStringList lines;
    } cases[] = {
        {"list", {}, {"Sort by Name"}},
        {"group", {inner}, QStringList{"Rename", "Ungroup Selection", "---", "Export Pictern...", "---", "Sort by Name", "---"} + moveTo + QStringList{"---", "Delete..."}},
        {"set", {b}, QStringList{"Add Icons... (off)", "---", "Show in File Manager", "---", "Rename", "---", "Export Pictern...", "---"} + moveTo + QStringList{"---", "Delete..."}},
        {"Miscellaneous", {misc}, {"Add Icons... (off)", "---", "Show in File Manager", "---", "Rename", "---", "Export Pictern..."}},
        {"sets", {a, b}, QStringList{"Show in File Manager", "---"} + moveTo + QStringList{"---", "Group Selection", "---", "Merge Selection", "---", "Delete..."}},
        {"groups", {outer, inner}, moveTo + QStringList{"---", "Group Selection (off)", "Ungroup Selection", "---", "Sort by Name", "---", "Delete..."}},
        {"mixed", {inner, b}, moveTo + QStringList{"---", "Group Selection", "---", "Delete..."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(entries(menuFor(c.objects).get()), c.lines);
    }
    EXPECT_EQ(PTObjectSelectionController::selectionMaskForItems({a, inner}), 3);
    pt::Defaults::standard().set(PTCollectionController::DeleteSuppressionKey, true);
    EXPECT_EQ(entries(menuFor({b}).get()).last(), "Delete");
}

// The sets' folders go to the file manager through the shell, which warns first.
TEST_F(SourceListMenuTest, ShowInFileManagerHandsTheSetFoldersToTheShell)
{
    const auto shell = std::make_shared<FakeBrowserShell>();
    PTBrowserShell::install(shell);
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    saveAndWait();
    findAction(menuFor({b}).get(), "Show in File Manager")->trigger();
    findAction(menuFor({a, b}).get(), "Show in File Manager")->trigger();
    PTBrowserShell::install(nullptr);
    const QUrl folderA = QUrl::fromLocalFile(a->formattedDirectory());
    const QUrl folderB = QUrl::fromLocalFile(b->formattedDirectory());
    EXPECT_EQ(shell->revealed, (QList<QList<QUrl>>{{folderB}, {folderA, folderB}}));
}

TEST_F(SourceListMenuTest, MoveToSkipsWhatCannotMove)
{
    PTGroup* outer = makeGroup("Outer");
    PTGroup* inner = makeGroup("Inner", outer);
    PTCollection* a = makeSetIn("A", inner);
    PTCollection* b = makeSet("B");
    saveAndWait();
    list().objectSelectionController().moveObjects({outer, a, b}, inner);
    EXPECT_EQ(PTGroupController::parentOf(outer), nullptr);
    EXPECT_EQ(PTGroupController::parentOf(a), inner);
    EXPECT_EQ(PTGroupController::parentOf(b), inner);
    // Already inside Outer, deeper down: it stays.
    findAction(menuFor({b}).get(), "Outer")->trigger();
    EXPECT_EQ(PTGroupController::parentOf(b), inner);
    findAction(menuFor({b}).get(), "All")->trigger();
    EXPECT_EQ(PTGroupController::parentOf(b), nullptr);
    // The group's own entry at the head of its submenu.
    findAction(menuFor({b}).get(), "Outer")->trigger();
    EXPECT_EQ(PTGroupController::parentOf(b), outer);
}

TEST_F(SourceListMenuTest, DeletingAsksAndSelectsTheRowAbove)
{
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    saveAndWait();
    list().selectItems({b}, false);
    confirmation->answer.confirmed = false;
    list().objectSelectionController().deleteObjects({b});
    EXPECT_EQ(confirmation->asked.size(), 1);
    EXPECT_FALSE(b->isDeleted());
    EXPECT_EQ(list().proposedPreviousItemAfterRemovalOfItems({a}), nullptr);

    confirmation->answer.confirmed = true;
    list().objectSelectionController().deleteObjects({b});
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return selectedTitles() == QStringList{"A"}; }));
    EXPECT_FALSE(visibleTitles().contains("B"));
}

TEST_F(SourceListMenuTest, DotsOpenTheRowMenuWithoutSelectingAndSheetsSilenceMenus)
{
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    saveAndWait();
    list().selectItems({a}, false);
    const QRect row = view().visualRect(indexOf(b));
    const QRect dots = PTSourceListView::contextualMenuClickRect(view().viewport()->width(), row.height())
                           .translated(0, row.top());
    QStringList shown;
    QModelIndex menuRow;
    QTimer::singleShot(50, [&shown, &menuRow, this] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            shown = entries(menu);
            menuRow = view().menuRow();
            menu->close();
        }
    });
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, dots.center());
    EXPECT_EQ(shown.value(0), "Add Icons... (off)");
    EXPECT_EQ(menuRow, indexOf(b));
    EXPECT_EQ(selectedTitles(), QStringList{"A"});
    // "All" shows no dots; a right click there gives the list's menu.
    EXPECT_FALSE(view().showsDots(topRow(1)));
    EXPECT_EQ(entries(std::unique_ptr<QMenu>(view().menuAt(view().visualRect(topRow(1)).center())).get()),
              QStringList{"Sort by Name"});

    QWidget sheet;
    pt::SheetHost::begin(&view(), &sheet);
    EXPECT_EQ(view().menuAt(row.center()), nullptr);
    pt::SheetHost::end(&sheet, 0);
    EXPECT_NE(std::unique_ptr<QMenu>(view().menuAt(row.center())), nullptr);
}
