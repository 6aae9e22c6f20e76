#include "SourceListTestSupport.h"
#include "TestSupport.h"

#include "library/controllers/PTGroupController.h"
#include "sidebar/PTSourceListCommands.h"
#include "sidebar/PTSourceListModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using Command = PTSourceListCommands::Command;

namespace {

class SourceListEditingTest : public SourceListTest {
protected:
    QLineEdit* editor()
    {
        for (QLineEdit* field : view().viewport()->findChildren<QLineEdit*>()) {
            if (field->isVisible())
                return field;
        }
        return nullptr;
    }
    bool isEditing() { return editor() != nullptr; }
    void click(const QModelIndex& index, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(view().viewport(), Qt::LeftButton, modifiers, view().visualRect(index).center());
    }

};

} // namespace

// What a Ctrl-click, Shift+arrow, Shift-click or plain click may add, by the kind of row it reaches.
TEST_F(SourceListEditingTest, ExtendingRules)
{
    PTCollection* first = makeSet("First");
    PTGroup* group = makeGroup("Group");
    PTCollection* set = makeSet("Set");
    PTCollection* last = makeSet("Last");
    saveAndWait();
    view().setFocus();
    const QModelIndex all = topRow(1), misc = topRow(2), header = topRow(3);
    struct Target {
        const char* name;
        QModelIndex index;
        bool byCtrlClick, byShiftArrow, byShiftClick, byClick;
    } targets[] = {
        {"All", all, false, false, true, true},
        {"Miscellaneous", misc, false, false, true, true},
        {"header", header, false, false, false, false},
        {"set", indexOf(set), true, true, true, true},
        {"group", indexOf(group), true, true, true, true},
    };
    for (const Target& t : targets) {
        SCOPED_TRACE(t.name);
        list().selectItems({last}, false);
        click(t.index, Qt::ControlModifier);
        EXPECT_EQ(view().selectionModel()->isSelected(t.index), t.byCtrlClick) << "Ctrl-click";

        // Shift+Up from the row below the target.
        QModelIndex below = view().indexBelow(t.index);
        view().selectionModel()->setCurrentIndex(below, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        QTest::keyClick(&view(), Qt::Key_Up, Qt::ShiftModifier);
        EXPECT_EQ(view().selectionModel()->isSelected(t.index), t.byShiftArrow) << "Shift+Up";

        list().selectItems({first}, false);
        click(t.index, Qt::ShiftModifier);
        EXPECT_EQ(view().selectionModel()->isSelected(t.index), t.byShiftClick) << "Shift-click";

        list().selectItems({first}, false);
        click(t.index);
        EXPECT_EQ(view().selectionModel()->isSelected(t.index), t.byClick) << "click";
        EXPECT_FALSE(view().selectionModel()->selectedRows().isEmpty());
    }
}

TEST_F(SourceListEditingTest, ClicksOnEmptySpaceAndCtrlClicksKeepASelection)
{
    PTCollection* set = makeSet("Set");
    saveAndWait();
    list().selectItems({set}, false);
    QTest::mouseClick(view().viewport(), Qt::LeftButton, {}, QPoint(100, 880));
    EXPECT_EQ(selectedTitles(), QStringList{"Set"});
    click(indexOf(set), Qt::ControlModifier);
    EXPECT_EQ(selectedTitles(), QStringList{"Set"});
}

TEST_F(SourceListEditingTest, RenamesTrimmedAndRefusesUnsafeNames)
{
    PTCollection* set = makeSet("Icons");
    saveAndWait();
    PTSourceListModel* model = list().model();
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    const QModelIndex row = indexOf(set);
    struct Case {
        const char* name;
        QString typed;
        QString stored;
        bool alert;
    } cases[] = {
        {"trimmed", "  Arrows \n", "Arrows", false},
        {"unchanged", "Arrows", "Arrows", false},
        {"blank", "  \t", "Arrows", false},
        {"slash", "a/b", "Arrows", true},
        {"NUL", QString("a") + QChar(0) + "b", "Arrows", true},
        {"control", "a\x07" "b", "Arrows", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shell->alerts.clear();
        model->setData(row, c.typed);
        EXPECT_EQ(set->name(), c.stored);
        EXPECT_EQ(row.data().toString(), c.stored);
        EXPECT_EQ(shell->alerts.size(), c.alert ? 1 : 0);
    }
    EXPECT_EQ(changed.size(), 1);
    // Saved at once.
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return !context().hasChanges(); }));
}

TEST_F(SourceListEditingTest, EscapeKeepsTheTypedName)
{
    PTGroup* group = makeGroup("Old");
    saveAndWait();
    list().renameObject(group);
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return isEditing(); }));
    QLineEdit* field = editor();
    EXPECT_EQ(field->text(), "Old");
    EXPECT_EQ(field->selectedText(), "Old");
    QTest::keyClicks(field, " New ");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(group->name(), "New");
    // "All" and the header cannot be renamed.
    EXPECT_FALSE(list().model()->flags(topRow(1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(list().model()->flags(topRow(3)) & Qt::ItemIsEditable);
    EXPECT_TRUE(list().model()->flags(topRow(2)) & Qt::ItemIsEditable);
}

TEST_F(SourceListEditingTest, CommandValidation)
{
    PTGroup* group = makeGroup("G");
    PTCollection* inside = makeSetIn("Inside", group);
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    PTGroup* other = makeGroup("H");
    PTCollection* misc = makeSet("Misc");
    misc->setType(PTCollection::MiscellaneousType);
    using O = PTSourceListController::Objects;
    struct Case {
        const char* name;
        O objects;
        bool group, ungroup, rename, merge, exports, deletes;
    } cases[] = {
        {"none", {}, false, false, false, false, false, false},
        {"one set", {a}, false, false, true, false, true, true},
        {"two sets", {a, b}, true, false, false, true, false, true},
        {"set in selected group", {group, inside}, false, false, false, false, false, true},
        {"two groups", {group, other}, true, true, false, false, false, true},
        {"set and group", {a, other}, true, false, false, false, false, true},
        {"one group", {group}, false, true, true, false, true, true},
        {"a set that cannot be removed", {a, misc}, true, false, false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PTSourceListCommands::isEnabled(Command::Group, c.objects), c.group);
        EXPECT_EQ(PTSourceListCommands::isEnabled(Command::Ungroup, c.objects), c.ungroup);
        EXPECT_EQ(PTSourceListCommands::isEnabled(Command::Rename, c.objects), c.rename);
        EXPECT_EQ(PTSourceListCommands::isEnabled(Command::Merge, c.objects), c.merge);
        EXPECT_EQ(PTSourceListCommands::isEnabled(Command::Export, c.objects), c.exports);
        EXPECT_EQ(PTSourceListCommands::isEnabled(Command::Delete, c.objects), c.deletes);
    }
}

TEST_F(SourceListEditingTest, GroupingAndMergingLeaveTheResultSelectedAndEditing)
{
    PTCollection* a = makeSet("A");
    PTCollection* b = makeSet("B");
    PTCollection* c = makeSet("C");
    makeItem(b, "b1", "b1.svg");
    makeItem(c, "c1", "c1.svg");
    saveAndWait();
    list().selectItems({a, b, c}, false);
    list().groupSelection();
    ASSERT_TRUE(pt::test::runMainQueueUntil([this] { return isEditing(); }));
    EXPECT_EQ(selectedTitles(), QStringList{"Untitled Group"});
    EXPECT_EQ(visibleTitles().mid(4), (QStringList{"Untitled Group", ""}));

    view().endEditing();
    list().mergeSelection({a, b, c});
    EXPECT_TRUE(isEditing());
    EXPECT_EQ(selectedTitles(), QStringList{"A"});
    EXPECT_EQ(a->items().size(), 2);
}

TEST_F(SourceListEditingTest, ANewGroupGoesLastSelectedAndEditing)
{
    makeSet("A");
    makeGroup("G");
    saveAndWait();
    pt::CommandState state;
    ASSERT_TRUE(list().respondsTo(PTSourceListController::NewGroupCommand));
    list().perform(PTSourceListController::NewGroupCommand);
    EXPECT_TRUE(isEditing());
    // The selection is the new group alone: nothing to merge, one thing to rename.
    EXPECT_FALSE(list().validate(PTSourceListController::MergeCommand, state));
    EXPECT_TRUE(list().validate(PTSourceListController::RenameCommand, state));
    EXPECT_EQ(selectedTitles(), QStringList{"Untitled Group"});
    const QStringList titles = visibleTitles();
    EXPECT_EQ(titles.at(titles.size() - 2), "Untitled Group");
}
