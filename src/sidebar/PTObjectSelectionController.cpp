#include "sidebar/PTObjectSelectionController.h"

#include "browser/PTBrowserShell.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTQMenuBuilder.h"
#include "library/bundle/PTTernExporter.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/controllers/PTIconRemover2.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/store/ObjectContext.h"
#include "sidebar/PTGroupsOnlyMenuBuilder.h"
#include "sidebar/PTSourceListCommands.h"
#include "sidebar/PTSourceListController.h"
#include "transfer/import/PTAddIconsPresenter.h"

#include <QCoreApplication>
#include <QMenu>

using pt::store::ManagedObject;
using Command = PTSourceListCommands::Command;

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PTObjectSelectionController", text);
}

const QString MoveToAction = QStringLiteral("moveTo");

} // namespace

PTObjectSelectionController::PTObjectSelectionController(PTSourceListController& sourceList)
    : sourceList_(sourceList)
{
}

int PTObjectSelectionController::selectionMaskForItems(const Objects& objects)
{
    int mask = 0;
    for (ManagedObject* object : objects) {
        if (PTCollection::from(object))
            mask |= HasSets;
        else if (PTGroup::from(object))
            mask |= HasGroups;
        if (mask == (HasSets | HasGroups))
            break;
    }
    return mask;
}

QString PTObjectSelectionController::deleteTitle()
{
    return pt::Defaults::standard().boolForKey(PTCollectionController::DeleteSuppressionKey) ? tr("Delete")
                                                                                            : tr("Delete...");
}

QMenu* PTObjectSelectionController::contextualMenuForItems(const Objects& objects)
{
    if (objects.isEmpty())
        return listMenu();
    if (objects.size() == 1) {
        if (auto* group = PTGroup::from(objects.first()))
            return groupMenu(group);
        return PTCollection::from(objects.first()) ? setMenu(objects.first()) : nullptr;
    }
    switch (selectionMaskForItems(objects)) {
    case HasSets | HasGroups:
        return mixedMenu(objects);
    case HasSets:
        return setsMenu(objects);
    case HasGroups:
        return groupsMenu(objects);
    default:
        return nullptr;
    }
}

void PTObjectSelectionController::addCommand(QMenu* menu, const QString& title, int command, const Objects& objects)
{
    QAction* action = menu->addAction(title);
    action->setEnabled(PTSourceListCommands::isEnabled(Command(command), objects));
    PTSourceListController* list = &sourceList_;
    QObject::connect(action, &QAction::triggered, [list, command, objects] {
        switch (Command(command)) {
        case Command::Group:
            list->groupSelection(objects);
            break;
        case Command::Ungroup:
            list->ungroupSelection(objects);
            break;
        case Command::Merge:
            list->mergeSelection(objects);
            break;
        case Command::Rename:
            list->renameObject(objects.first());
            break;
        case Command::Export:
            list->exportObject(objects);
            break;
        case Command::Delete:
            list->objectSelectionController().deleteObjects(objects);
            break;
        }
    });
}

QMenu* PTObjectSelectionController::listMenu()
{
    auto* menu = new QMenu;
    addSortByName(menu, {nullptr});
    return menu;
}

QMenu* PTObjectSelectionController::groupMenu(PTGroup* group)
{
    auto* menu = new QMenu;
    const Objects objects{group};
    addCommand(menu, tr("Rename"), int(Command::Rename), objects);
    addCommand(menu, tr("Ungroup Selection"), int(Command::Ungroup), objects);
    menu->addSeparator();
    addCommand(menu, QStringLiteral("Export Pictern..."), int(Command::Export), objects);
    menu->addSeparator();
    addSortByName(menu, {group});
    menu->addSeparator();
    addMoveTo(menu, objects);
    menu->addSeparator();
    addDelete(menu, objects);
    return menu;
}

QMenu* PTObjectSelectionController::setMenu(ManagedObject* object)
{
    auto* set = PTCollection::from(object);
    auto* menu = new QMenu;
    const Objects objects{object};
    QAction* add = menu->addAction(tr("Add Icons..."));
    add->setEnabled(PTAddIconsPresenter::installed() != nullptr);
    QObject::connect(add, &QAction::triggered, [set] {
        if (const auto presenter = PTAddIconsPresenter::installed())
            presenter->presentNewCollection(set);
    });
    menu->addSeparator();
    addShowInFileManager(menu, objects);
    menu->addSeparator();
    addCommand(menu, tr("Rename"), int(Command::Rename), objects);
    menu->addSeparator();
    addCommand(menu, QStringLiteral("Export Pictern..."), int(Command::Export), objects);
    if (set->moveable()) {
        menu->addSeparator();
        addMoveTo(menu, objects);
    }
    if (set->removeable()) {
        menu->addSeparator();
        addDelete(menu, objects);
    }
    return menu;
}

QMenu* PTObjectSelectionController::setsMenu(const Objects& sets)
{
    auto* menu = new QMenu;
    addShowInFileManager(menu, sets);
    menu->addSeparator();
    addMoveTo(menu, sets);
    menu->addSeparator();
    addCommand(menu, tr("Group Selection"), int(Command::Group), sets);
    menu->addSeparator();
    addCommand(menu, QStringLiteral("Merge Selection"), int(Command::Merge), sets);
    menu->addSeparator();
    addDelete(menu, sets);
    return menu;
}

QMenu* PTObjectSelectionController::groupsMenu(const Objects& groups)
{
    auto* menu = new QMenu;
    addMoveTo(menu, groups);
    menu->addSeparator();
    addCommand(menu, tr("Group Selection"), int(Command::Group), groups);
    addCommand(menu, tr("Ungroup Selection"), int(Command::Ungroup), groups);
    menu->addSeparator();
    QVector<PTGroup*> sorted;
    for (ManagedObject* object : groups)
        sorted << PTGroup::from(object);
    addSortByName(menu, sorted);
    menu->addSeparator();
    addDelete(menu, groups);
    return menu;
}

QMenu* PTObjectSelectionController::mixedMenu(const Objects& objects)
{
    auto* menu = new QMenu;
    addMoveTo(menu, objects);
    menu->addSeparator();
    addCommand(menu, tr("Group Selection"), int(Command::Group), objects);
    menu->addSeparator();
    addDelete(menu, objects);
    return menu;
}

void PTObjectSelectionController::addSortByName(QMenu* menu, const QVector<PTGroup*>& groups)
{
    PTSourceListController* list = &sourceList_;
    QObject::connect(menu->addAction(QStringLiteral("Sort by Name")), &QAction::triggered, [list, groups] {
        for (PTGroup* group : groups)
            PTGroupController::sharedController().sortGroupByName(group);
        PTSaveManagedObjectContext();
        list->cancelScrollForReloadWithBlock([list] { list->reloadData(); });
    });
}

void PTObjectSelectionController::addShowInFileManager(QMenu* menu, const Objects& sets)
{
    QObject::connect(menu->addAction(tr("Show in File Manager")), &QAction::triggered, [sets] {
        QList<QUrl> urls;
        for (ManagedObject* object : sets) {
            if (auto* set = PTCollection::from(object))
                urls << QUrl::fromLocalFile(set->formattedDirectory());
        }
        if (const auto shell = PTBrowserShell::installed(); shell && !urls.isEmpty())
            shell->showFileURLsInFinder(urls);
    });
}

void PTObjectSelectionController::addMoveTo(QMenu* menu, const Objects& objects)
{
    QMenu* moveTo = menu->addMenu(tr("Move To"));
    QObject::connect(moveTo->addAction(tr("All")), &QAction::triggered,
                     [this, objects] { moveObjects(objects, nullptr); });
    moveTo->addSeparator();
    PTQMenuBuilder builder(moveTo, [this, objects](const QString&, ManagedObject* target) {
        moveObjects(objects, PTGroup::from(target));
    });
    PTGroupsOnlyMenuBuilder groups(&builder);
    PTGroupController::sharedController().menuForGroup(nullptr, MoveToAction, groups);
}

void PTObjectSelectionController::moveObjects(const Objects& objects, PTGroup* target)
{
    PTGroupController& groups = PTGroupController::sharedController();
    bool moved = false;
    for (ManagedObject* object : objects) {
        if (object == target || (target && groups.isChildOfGroup(object, target, true)) ||
            (!target && !PTGroupController::parentOf(object)))
            continue;
        // A group never goes into itself or below itself.
        if (auto* group = PTGroup::from(object); group && PTGroupController::hasParentGroup(target, group))
            continue;
        moved = groups.moveObject(object, target, -1) || moved;
    }
    if (moved)
        PTSaveManagedObjectContext();
    sourceList_.reloadData();
}

void PTObjectSelectionController::deleteObjects(const Objects& objects)
{
    ManagedObject* proposed = sourceList_.proposedPreviousItemAfterRemovalOfItems(objects);
    const pt::store::ObjectID proposedID = proposed ? proposed->objectID() : pt::store::ObjectID();
    PTSourceListController* list = &sourceList_;
    PTIconRemover2::defaultRemovalForItems(
        objects,
        [] {
            if (PTGridViewController* grid = PTGridViewController::sharedController()) {
                grid->deselectAll();
                grid->completelyClearSideBar();
            }
        },
        [list, proposedID] {
            pt::store::ObjectContext* context = PTMainManagedObjectContext();
            ManagedObject* next = context && !proposedID.isNull() ? context->existingObjectWithID(proposedID) : nullptr;
            if (next)
                list->selectItems({next}, false);
            PTCollectionController::sharedController().purgeAndNotify({});
        });
}

void PTObjectSelectionController::addDelete(QMenu* menu, const Objects& objects)
{
    addCommand(menu, deleteTitle(), int(Command::Delete), objects);
}
