#include "sidebar/PTSourceListController.h"

#include "browser/controller/PTGridViewController.h"
#include "browser/grid/PTGridView.h"
#include "library/bundle/PTTernExporter.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/store/ContextAdditions.h"
#include "library/store/PTCDAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/ui/ActionRouter.h"
#include "sidebar/PTObjectSelectionController.h"
#include "sidebar/PTSourceListCommands.h"
#include "sidebar/PTSourceListDelegate.h"
#include "sidebar/PTSourceListDrops.h"
#include "sidebar/PTSourceListModel.h"
#include "sidebar/PTSourceListView.h"
#include "transfer/import/PTAddIconsPresenter.h"
#include "ui/theme/PTStyles.h"

#include <QCoreApplication>
#include <QHash>
#include <QScrollBar>

#include <algorithm>

using pt::store::ManagedObject;

namespace {

PTSourceListController* shared = nullptr;

const QString SearchCancelWithResigning = QStringLiteral("PT_SEARCH_CONTROLLER_DID_CANCEL_WITH_RESIGNING");
const QString SearchCancelWithoutResigning = QStringLiteral("PT_SEARCH_CONTROLLER_DID_CANCEL_WITHOUT_RESIGNING");

QStringList stringsOf(const QVariantList& values)
{
    QStringList strings;
    for (const QVariant& value : values) {
        if (value.typeId() == QMetaType::QString)
            strings << value.toString();
    }
    return strings;
}

// The position of a row in the tree, for ordering rows as they appear.
QVector<int> pathOf(QModelIndex index)
{
    QVector<int> path;
    for (; index.isValid(); index = index.parent())
        path.prepend(index.row());
    return path;
}

} // namespace

PTSourceListController::PTSourceListController(QObject* parent)
    : QObject(parent)
    , model_(new PTSourceListModel(this))
    , delegate_(new PTSourceListDelegate(this))
    , view_(new PTSourceListView)
    , menus_(std::make_unique<PTObjectSelectionController>(*this))
    , drops_(std::make_unique<PTSourceListDrops>(*this, *model_))
{
    shared = this;
    pt::Defaults& defaults = pt::Defaults::standard();
    if (pt::store::ObjectContext* context = PTMainManagedObjectContext()) {
        const QStringList expanded =
            contextAdditions::validatedObjectURIsWithStrings(*context, stringsOf(defaults.arrayForKey(ExpandedURIsKey)));
        expanded_ = QSet<QString>(expanded.begin(), expanded.end());
    }
    selectedIdentifiers_ = stringsOf(defaults.arrayForKey(SelectedIdentifiersKey));
    if (defaults.objectForKey(LegacyIdentifierKey).typeId() == QMetaType::QString) {
        selectedIdentifiers_ << defaults.stringForKey(LegacyIdentifierKey);
        defaults.remove(LegacyIdentifierKey);
    }
    if (selectedIdentifiers_.isEmpty())
        selectedIdentifiers_ << PTSourceListItem::AllIdentifier;

    grid_ = [](const QVector<PTCollection*>& sets, const Objects& topLevel, bool force) {
        if (PTGridViewController* grid = PTGridViewController::sharedController())
            grid->setCollections(sets, topLevel, force);
    };
    PTSourceListDrops* drops = drops_.get();
    model_->setDropHandler({[drops](const QModelIndexList& rows) { return drops->mimeData(rows); },
                            [drops](const QMimeData* data, Qt::DropAction action, int row, const QModelIndex& parent) {
                                return drops->canDrop(data, action, row, parent);
                            },
                            [drops](const QMimeData* data, Qt::DropAction action, int row, const QModelIndex& parent) {
                                return drops->drop(data, action, row, parent);
                            }});
    view_->setModel(model_);
    view_->setItemDelegate(delegate_);
    view_->setMenuProvider([this](PTSourceListItem* item, bool allowDefault) { return menuForItem(item, allowDefault); });
    updateAppearance();
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] { propagateSelection(false); });
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PTSourceListController::selectionDidChange);
    connect(model_, &PTSourceListModel::objectRenamed, this, &PTSourceListController::objectRenamed);
    connect(view_, &QTreeView::expanded, this, [this](const QModelIndex& index) { rememberExpansion(index, true); });
    connect(view_, &QTreeView::collapsed, this, [this](const QModelIndex& index) { rememberExpansion(index, false); });

    pt::NotificationCenter& centre = pt::NotificationCenter::defaultCenter();
    PTCollectionController* sets = &PTCollectionController::sharedController();
    observers_.push_back(centre.addObserver(PTCollectionController::CollectionsDidChangeNotification, sets,
                                            [this](const pt::Notification&) {
                                                force_ = true;
                                                cancelScrollForReloadWithBlock([this] { reloadData(); });
                                            }));
    observers_.push_back(centre.addObserver(PTCollectionController::WillDeleteCollectionNotification, sets,
                                            [this](const pt::Notification& note) {
                                                auto* object = note.userInfo.value(PTCollectionController::CollectionKey)
                                                                   .value<ManagedObject*>();
                                                collectionWillBeDeleted(PTCollection::from(object));
                                            }));
    observers_.push_back(centre.addObserver(PTCollectionController::CollectionsDidUpdateNotification, sets,
                                            [this](const pt::Notification&) { view_->viewport()->update(); }));
    observers_.push_back(centre.addObserver(SearchCancelWithResigning, nullptr, [this](const pt::Notification&) {
        view_->setFocus();
        reloadSelectedItem();
    }));
    observers_.push_back(centre.addObserver(SearchCancelWithoutResigning, nullptr,
                                            [this](const pt::Notification&) { reloadSelectedItem(); }));
    // Open groups are written once, when the application quits.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &PTSourceListController::archiveData);
    reloadData();
}

PTSourceListController::~PTSourceListController()
{
    if (shared == this)
        shared = nullptr;
    if (window_)
        pt::ActionRouter::shared().removeWindowHandler(window_, this);
    delete view_.data();
}

PTSourceListController* PTSourceListController::sharedController()
{
    return shared;
}

void PTSourceListController::updateAppearance()
{
    // Titles and icons are drawn from the theme on each paint: nothing the grid shows changes.
    QPalette colours = view_->palette();
    colours.setColor(QPalette::Base, PTStyles::sidebarBackgroundColor());
    colours.setColor(QPalette::Window, PTStyles::sidebarBackgroundColor());
    view_->setPalette(colours);
    delegate_->redisplay();
    view_->viewport()->update();
}

void PTSourceListController::reloadData()
{
    model_->rebuild();
    expandRemembered(QModelIndex());
    if (!selectIdentifiedRows()) {
        selectedIdentifiers_ = {PTSourceListItem::AllIdentifier};
        selectIdentifiedRows();
    }
}

void PTSourceListController::expandRemembered(const QModelIndex& parent)
{
    const int rows = model_->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model_->index(row, 0, parent);
        const PTSourceListItem* item = model_->itemForIndex(index);
        if (item->isGroupObject() && expanded_.contains(item->identifier())) {
            view_->expand(index);
            expandRemembered(index);
        }
    }
}

bool PTSourceListController::selectIdentifiedRows()
{
    QModelIndexList rows;
    for (const QString& identifier : std::as_const(selectedIdentifiers_)) {
        if (PTSourceListItem* item = model_->itemForIdentifier(identifier)) {
            if (item->kind() == PTSourceListItem::Kind::All) {
                rows = {model_->indexForItem(item)};
                break;
            }
            rows << model_->indexForItem(item);
        }
    }
    if (rows.isEmpty())
        return false;
    QItemSelection selection;
    for (const QModelIndex& row : std::as_const(rows))
        selection.select(row, row);
    QItemSelectionModel* selectionModel = view_->selectionModel();
    selectionModel->setCurrentIndex(rows.first(), QItemSelectionModel::NoUpdate);
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

void PTSourceListController::rememberExpansion(const QModelIndex& index, bool expanded)
{
    const PTSourceListItem* item = model_->itemForIndex(index);
    if (!item || item->identifier().isEmpty())
        return;
    if (expanded)
        expanded_.insert(item->identifier());
    else
        expanded_.remove(item->identifier());
}

void PTSourceListController::answerCommandsOfWindow(QWidget* window)
{
    window_ = window;
    if (window)
        pt::ActionRouter::shared().pushWindowHandler(window, this);
}

void PTSourceListController::expandObject(PTGroup* group)
{
    expanded_.insert(PTCDAdditions::persistentURLString(group));
}

void PTSourceListController::archiveData()
{
    QStringList uris(expanded_.begin(), expanded_.end());
    if (pt::store::ObjectContext* context = PTHasManagedObjectContext() ? PTMainManagedObjectContext() : nullptr)
        uris = contextAdditions::validatedObjectURIsWithStrings(*context, uris);
    uris.sort();
    pt::Defaults::standard().set(ExpandedURIsKey, uris);
}

void PTSourceListController::selectionDidChange()
{
    timer_.start(view_->handlingKey() ? KeyDelayMs : ClickDelayMs);
}

QModelIndexList PTSourceListController::selectedRowsInOrder() const
{
    QModelIndexList rows = view_->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return pathOf(a) < pathOf(b); });
    return rows;
}

void PTSourceListController::propagateSelection(bool forced)
{
    const bool force = force_ || forced;
    force_ = false;
    timer_.stop();
    selectedIdentifiers_.clear();
    QVector<PTCollection*> sets;
    Objects topLevel;
    bool all = false;
    const auto addSet = [&sets](PTCollection* set) {
        if (!sets.contains(set))
            sets << set;
    };
    for (const QModelIndex& index : selectedRowsInOrder()) {
        const PTSourceListItem* item = model_->itemForIndex(index);
        if (!item->identifier().isEmpty())
            selectedIdentifiers_ << item->identifier();
        if (item->kind() == PTSourceListItem::Kind::All) {
            all = true;
        } else if (auto* group = PTGroup::from(item->underlyingObject())) {
            for (PTCollection* set : PTGroupController::sharedController().collectionsForGroup(group))
                addSet(set);
            topLevel << group;
        } else if (auto* set = PTCollection::from(item->underlyingObject())) {
            addSet(set);
            topLevel << set;
        }
    }
    if (all)
        sets = PTCollectionController::sharedController().collectionsSortedByGroup();
    if (grid_)
        grid_(sets, topLevel, force);
    pt::Defaults::standard().set(SelectedIdentifiersKey, selectedIdentifiers_);
    runSelectionBlocks();
}

void PTSourceListController::runSelectionBlocks()
{
    if (selectionBlocks_.empty())
        return;
    auto blocks = std::move(selectionBlocks_);
    selectionBlocks_.clear();
    pt::DispatchQueue::main().async([blocks = std::move(blocks)] {
        for (const auto& block : blocks)
            block();
    });
}

void PTSourceListController::reloadSelectedItem()
{
    const bool pendingForce = force_;
    const auto pendingBlocks = std::move(selectionBlocks_);
    selectionBlocks_.clear();
    propagateSelection(true);
    // Only the hand-over runs now; what waits for the next selection keeps waiting.
    force_ = pendingForce;
    selectionBlocks_ = pendingBlocks;
}

void PTSourceListController::forceSelectionPropagationWithBlock(const std::function<void()>& block)
{
    timer_.stop();
    if (block)
        block();
    propagateSelection(true);
}

void PTSourceListController::selectItems(const Objects& objects, bool extend, std::function<void()> completion)
{
    if (!extend)
        selectedIdentifiers_.clear();
    for (ManagedObject* object : objects) {
        if (object->objectID().isTemporary() && object->context())
            contextAdditions::obtainPermanentIDsForInsertedObjects(*object->context());
        const QString uri = PTCDAdditions::persistentURLString(object);
        if (!uri.isEmpty() && !selectedIdentifiers_.contains(uri))
            selectedIdentifiers_ << uri;
        // Opening an outer group builds the rows of the inner ones, so the path opens from the outside in.
        QVector<PTGroup*> ancestors;
        for (PTGroup* group = PTGroupController::parentOf(object); group; group = group->group())
            ancestors.prepend(group);
        for (PTGroup* group : std::as_const(ancestors)) {
            if (PTSourceListItem* row = model_->itemForIdentifier(PTCDAdditions::persistentURLString(group))) {
                const QModelIndex index = model_->indexForItem(row);
                view_->expand(index);
                // A view not laid out yet only notes the expansion; the inner rows are needed now.
                model_->rowCount(index);
            }
        }
    }
    if (completion)
        selectionBlocks_.push_back(std::move(completion));
    cancelScrollForReloadWithBlock([this] { selectIdentifiedRows(); });
    pt::Defaults::standard().set(SelectedIdentifiersKey, selectedIdentifiers_);
}

void PTSourceListController::cancelScrollForReloadWithBlock(const std::function<void()>& block)
{
    const int vertical = view_->verticalScrollBar()->value();
    const int horizontal = view_->horizontalScrollBar()->value();
    block();
    view_->verticalScrollBar()->setValue(vertical);
    view_->horizontalScrollBar()->setValue(horizontal);
}

PTCollection* PTSourceListController::currentCollection() const
{
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    const QModelIndex current = view_->currentIndex();
    const QModelIndex row = rows.contains(current) ? current : (rows.isEmpty() ? QModelIndex() : rows.first());
    const PTSourceListItem* item = model_->itemForIndex(row);
    return item ? PTCollection::from(item->underlyingObject()) : nullptr;
}

PTSourceListController::Objects PTSourceListController::currentSelectedManagedObjects() const
{
    Objects objects;
    for (const QModelIndex& index : selectedRowsInOrder()) {
        if (ManagedObject* object = model_->itemForIndex(index)->underlyingObject())
            objects << object;
    }
    return objects;
}

void PTSourceListController::setSelectedCollection(ManagedObject* object)
{
    if (object && indexForObject(object).isValid())
        selectItems({object}, false);
}

bool PTSourceListController::shouldRefreshCollection(PTCollection* set) const
{
    if (selectedIdentifiers_.contains(PTSourceListItem::AllIdentifier) || currentCollection() == set)
        return true;
    for (ManagedObject* object : currentSelectedManagedObjects()) {
        if (auto* group = PTGroup::from(object); group && PTGroupController::hasParentGroup(set, group))
            return true;
    }
    return false;
}

QModelIndex PTSourceListController::indexForObject(ManagedObject* object) const
{
    if (!object)
        return {};
    const PTSourceListItem* item = model_->itemForIdentifier(PTCDAdditions::persistentURLString(object));
    return model_->indexForItem(item);
}

ManagedObject* PTSourceListController::proposedPreviousItemAfterRemovalOfItems(const Objects& objects) const
{
    const QModelIndex index = objects.isEmpty() ? QModelIndex() : indexForObject(objects.first());
    if (!index.isValid() || (!index.parent().isValid() && index.row() < 3))
        return nullptr;
    const PTSourceListItem* above = model_->itemForIndex(view_->indexAbove(index));
    return above ? above->underlyingObject() : nullptr;
}

void PTSourceListController::collectionWillBeDeleted(PTCollection* set)
{
    const QModelIndexList rows = view_->selectionModel()->selectedRows();
    const QModelIndex index = indexForObject(set);
    if (!index.isValid() || rows.size() != 1 || rows.first() != index)
        return;
    QModelIndex above = view_->indexAbove(index);
    while (above.isValid() && !model_->itemForIndex(above)->isSelectable())
        above = view_->indexAbove(above);
    if (!above.isValid())
        return;
    view_->selectionModel()->setCurrentIndex(above, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QMenu* PTSourceListController::menuForItem(PTSourceListItem* item, bool allowDefault)
{
    ManagedObject* object = item ? item->underlyingObject() : nullptr;
    if (!object)
        return allowDefault ? menus_->contextualMenuForItems({}) : nullptr;
    const Objects selected = currentSelectedManagedObjects();
    return menus_->contextualMenuForItems(selected.contains(object) ? selected : Objects{object});
}

PTSourceListController::Objects PTSourceListController::commandObjects(const Objects& objects) const
{
    return objects.isEmpty() ? currentSelectedManagedObjects() : objects;
}

void PTSourceListController::groupSelection(const Objects& objects)
{
    view_->endEditing();
    const Objects chosen = commandObjects(objects);
    if (!PTSourceListCommands::isEnabled(PTSourceListCommands::Command::Group, chosen))
        return;
    PTGroup* group = PTGroupController::sharedController().groupItems(chosen);
    if (!group)
        return;
    PTSaveManagedObjectContext();
    cancelScrollForReloadWithBlock([this] { reloadData(); });
    selectItems({group}, false);
    beginEditSoon(group);
}

void PTSourceListController::ungroupSelection(const Objects& objects)
{
    view_->endEditing();
    const Objects chosen = commandObjects(objects);
    if (!PTSourceListCommands::isEnabled(PTSourceListCommands::Command::Ungroup, chosen))
        return;
    QVector<PTGroup*> groups;
    for (ManagedObject* object : chosen)
        groups << PTGroup::from(object);
    const Objects children = PTGroupController::sharedController().ungroupItems(groups);
    PTSaveManagedObjectContext();
    cancelScrollForReloadWithBlock([this] { reloadData(); });
    if (!children.isEmpty())
        selectItems(children, false);
}

void PTSourceListController::mergeSelection(const Objects& objects)
{
    view_->endEditing();
    const Objects chosen = commandObjects(objects);
    if (!PTSourceListCommands::isEnabled(PTSourceListCommands::Command::Merge, chosen))
        return;
    QVector<PTCollection*> sets;
    for (ManagedObject* object : chosen)
        sets << PTCollection::from(object);
    PTCollectionController::sharedController().mergeCollections(sets);
    cancelScrollForReloadWithBlock([this] { reloadData(); });
    selectItems({sets.first()}, false);
    beginEditForManagedObject(sets.first());
}

void PTSourceListController::renameObject(ManagedObject* object)
{
    if (!object)
        return;
    selectItems({object}, false);
    beginEditSoon(object);
}

void PTSourceListController::beginEditSoon(ManagedObject* object)
{
    // A turn later, once the selection change of the same command has been applied.
    QTimer::singleShot(0, this, [this, id = object->objectID()] {
        if (pt::store::ObjectContext* context = PTMainManagedObjectContext())
            beginEditForManagedObject(context->existingObjectWithID(id));
    });
}

void PTSourceListController::exportObject(const Objects& objects)
{
    const Objects chosen = commandObjects(objects);
    if (PTSourceListCommands::isEnabled(PTSourceListCommands::Command::Export, chosen))
        PTTernExporter::exportManagedObject(chosen.first());
}

void PTSourceListController::addSet()
{
    if (const auto presenter = PTAddIconsPresenter::installed())
        presenter->presentNewCollection(currentCollection());
}

void PTSourceListController::insertGroupIntoGroup(PTGroup* parent)
{
    view_->endEditing();
    PTGroup* group = PTGroupController::sharedController().createGroupWithName(QString(), parent);
    if (!group)
        return;
    selectedIdentifiers_ = {PTCDAdditions::persistentURLString(group)};
    for (PTGroup* outer = parent; outer; outer = outer->group())
        expanded_.insert(PTCDAdditions::persistentURLString(outer));
    cancelScrollForReloadWithBlock([this] { reloadData(); });
    beginEditForManagedObject(group);
}

void PTSourceListController::beginEditForManagedObject(ManagedObject* object)
{
    const QModelIndex index = indexForObject(object);
    if (!index.isValid())
        return;
    view_->scrollTo(index);
    view_->edit(index);
}

void PTSourceListController::objectRenamed()
{
    if (PTGridViewController* grid = PTGridViewController::sharedController())
        grid->redisplay();
}

namespace {

const QHash<QString, PTSourceListCommands::Command>& selectionCommands()
{
    using C = PTSourceListCommands::Command;
    static const QHash<QString, C> commands{{PTSourceListController::GroupCommand, C::Group},
                                            {PTSourceListController::UngroupCommand, C::Ungroup},
                                            {PTSourceListController::MergeCommand, C::Merge},
                                            {PTSourceListController::RenameCommand, C::Rename},
                                            {PTSourceListController::ExportCommand, C::Export},
                                            {PTSourceListController::DeleteCommand, C::Delete}};
    return commands;
}

} // namespace

bool PTSourceListController::respondsTo(const QString& command) const
{
    return command == NewGroupCommand || selectionCommands().contains(command);
}

bool PTSourceListController::validate(const QString& command, pt::CommandState&)
{
    if (command == DeleteCommand && !(view_ && view_->hasFocus()))
        return false;
    return command == NewGroupCommand ||
           PTSourceListCommands::isEnabled(selectionCommands().value(command), currentSelectedManagedObjects());
}

void PTSourceListController::perform(const QString& command)
{
    using C = PTSourceListCommands::Command;
    if (command == NewGroupCommand) {
        insertGroupIntoGroup(nullptr);
        return;
    }
    switch (selectionCommands().value(command)) {
    case C::Group:
        groupSelection();
        break;
    case C::Ungroup:
        ungroupSelection();
        break;
    case C::Merge:
        mergeSelection();
        break;
    case C::Rename:
        if (const Objects objects = currentSelectedManagedObjects(); !objects.isEmpty())
            renameObject(objects.first());
        break;
    case C::Export:
        exportObject();
        break;
    case C::Delete:
        // Asks first, as the context menu's Delete does.
        menus_->deleteObjects(currentSelectedManagedObjects());
        break;
    }
}
