#include "browser/controller/PTGridViewContextMenu.h"

#include "browser/PTBrowserTransfer.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTGridViewDataProvider.h"
#include "foundation/MenuAdditions.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"

#include <QMenu>

namespace {

// Separators are entries with a null title.
constexpr PTGridViewContextMenu::ExportFormat ExportFormats[] = {
    {"PNG", 0}, {"TIFF", 3}, {"WEBP", 4}, {"GIF", 2}, {"ICO", 8}, {nullptr, 0}, {"SVG", 6},
    {"PDF", 5}, {nullptr, 0}, {"JPG", 1}, {nullptr, 0}, {"ORIG", 7},
};

} // namespace

PTGridViewContextMenu::PTGridViewContextMenu(PTGridViewController& controller) : controller_(controller) {}

PTGridViewContextMenu::~PTGridViewContextMenu() = default;

QVector<PTItem*> PTGridViewContextMenu::items() const
{
    QVector<PTItem*> found;
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    if (!context)
        return found;
    for (const pt::store::ObjectID& id : ids_) {
        PTItem* item = PTItem::from(context->existingObjectWithID(id));
        if (item && !item->isDeleted())
            found.append(item);
    }
    return found;
}

void PTGridViewContextMenu::clear()
{
    ids_.clear();
}

QMenu* PTGridViewContextMenu::menuForItems(const QVector<PTItem*>& items)
{
    ids_.clear();
    QSet<PTCollection*> sets;
    for (PTItem* item : items) {
        ids_.append(item->objectID());
        if (item->collection())
            sets.insert(item->collection());
    }
    menu_ = std::make_unique<QMenu>();
    QMenu* menu = menu_.get();
    menu->setAccessibleName(QObject::tr("Icon commands"));
    PTGridViewController& controller = controller_;
    const auto act = [this, menu](const QString& title, auto command) {
        QAction* action = menu->addAction(title);
        QObject::connect(action, &QAction::triggered, [this, command] { command(this->items()); });
        return action;
    };
    const auto transfer = PTBrowserTransfer::installed();
    const PTBrowserTransfer::ItemsSource source = [this] { return this->items(); };

    if (controller.isSearching())
        act(QObject::tr("Show in Set"), [&controller](const auto& items) { controller.showItemsInSet(items); });
    act(QObject::tr("Show in File Manager"),
        [&controller](const auto& items) { controller.showItemsInFileManager(items); });
    menu->addSeparator();
    act(QObject::tr("Copy"), [&controller](const auto& items) { controller.copyItems(items); });
    if (transfer) {
        auto copyAs = std::make_unique<QMenu>(QObject::tr("Copy As"));
        if (transfer->addCopyFormatEntries(copyAs.get(), source)) {
            copyAs->setParent(menu, copyAs->windowFlags());
            menu->addMenu(copyAs.release());
        }
    }
    menu->addSeparator();
    addSetMenu(menu, QObject::tr("Move To Set"), true, sets);
    addSetMenu(menu, QObject::tr("Copy To Set"), false, sets);
    menu->addSeparator();
    act(QObject::tr("Replace..."), [&controller](const auto& items) {
        controller.replaceItems(items);
    });
    menu->addSeparator();
    act(QObject::tr("Export..."), [&controller](const auto& items) { controller.exportItems(items); });
    QMenu* exportAs = menu->addMenu(QObject::tr("Export As"));
    for (const ExportFormat& format : ExportFormats) {
        if (!format.title) {
            exportAs->addSeparator();
            continue;
        }
        QAction* action = exportAs->addAction(QString::fromLatin1(format.title));
        action->setData(format.format);
        QObject::connect(action, &QAction::triggered, [this, &controller, format = format.format] {
            controller.exportItems(this->items(), format);
        });
    }
    if (transfer)
        transfer->addPresetEntries(menu->addMenu(QObject::tr("Export with Preset")), source);
    menu->addSeparator();
    act(QObject::tr("Delete"), [&controller](const auto& items) { controller.deleteItems(items); });
    return menu;
}

void PTGridViewContextMenu::addSetMenu(QMenu* menu, const QString& title, bool move,
                                       const QSet<PTCollection*>& disabled)
{
    QMenu* submenu = menu->addMenu(title);
    QAction* create = submenu->addAction(QObject::tr("Create New Set..."));
    QObject::connect(create, &QAction::triggered, [this, move] {
        if (move)
            controller_.moveItemsToNewCollection(items());
        else
            controller_.copyItemsToNewCollection(items());
    });
    submenu->addSeparator();
    addSetEntry(submenu, PTCollectionController::sharedController().miscCollection(), move, disabled);
    submenu->addSeparator();
    fillGroup(submenu, nullptr, move, disabled);
}

void PTGridViewContextMenu::fillGroup(QMenu* menu, PTGroup* group, bool move, const QSet<PTCollection*>& disabled)
{
    for (pt::store::ManagedObject* child : PTGroupController::sharedController().objectsForGroup(group)) {
        if (PTCollection* set = PTCollection::from(child)) {
            addSetEntry(menu, set, move, disabled);
            continue;
        }
        PTGroup* inner = PTGroup::from(child);
        if (!inner)
            continue;
        if (PTGroupController::sharedController().objectsForGroup(inner).isEmpty()) {
            menu->addAction(menuAdditions::itemTitle(inner->name()))->setEnabled(false);
            continue;
        }
        fillGroup(menu->addMenu(menuAdditions::itemTitle(inner->name())), inner, move, disabled);
    }
}

void PTGridViewContextMenu::addSetEntry(QMenu* menu, PTCollection* set, bool move, const QSet<PTCollection*>& disabled)
{
    if (!set)
        return;
    QAction* action = menu->addAction(menuAdditions::itemTitle(set->name()));
    action->setData(QVariant::fromValue(set->objectID()));
    if (disabled.contains(set)) {
        action->setEnabled(false);
        return;
    }
    QObject::connect(action, &QAction::triggered, [this, move, id = set->objectID()] {
        pt::store::ObjectContext* context = PTMainManagedObjectContext();
        PTCollection* target = context ? PTCollection::from(context->existingObjectWithID(id)) : nullptr;
        if (!target)
            return;
        if (move)
            controller_.moveItemsToCollection(items(), target);
        else
            controller_.copyItemsToCollection(items(), target);
    });
}
