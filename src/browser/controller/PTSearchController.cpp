#include "browser/controller/PTSearchController.h"

#include "browser/PTBrowserShell.h"
#include "browser/PTBrowserSidebar.h"
#include "browser/controller/PTSearchGridController.h"
#include "browser/views/PTToolbarSearchField.h"
#include "foundation/StringAdditions.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/store/ContextAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/NotificationCenter.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>

#include <algorithm>

using pt::store::ObjectID;
using pt::store::Predicate;

namespace {

// Parsed once; each search substitutes its terms.
const Predicate& searchTemplate()
{
    static const Predicate predicate = *Predicate::parse(QStringLiteral(
        "nameNormalized CONTAINS[cd] $term OR             tagsStringNormalized CONTAINS[cd] $term OR             "
        "informativeTextNormalized CONTAINS[cd] $term"));
    return predicate;
}

// The attributes the template reads.
const QString SearchedAttributes[] = {QStringLiteral("nameNormalized"), QStringLiteral("tagsStringNormalized"),
                                      QStringLiteral("informativeTextNormalized")};

QVector<ObjectID> idsOf(const QSet<ObjectID>& ids)
{
    return QVector<ObjectID>(ids.begin(), ids.end());
}

} // namespace

PTSearchController::PTSearchController(PTToolbarSearchField* searchField, PTSearchGridController* gridController,
                                       QObject* parent)
    : QObject(parent)
    , searchField_(searchField)
    , gridController_(gridController)
    , scopeMenu_(new QMenu(searchField))
    , scopeGroup_(new QActionGroup(this))
    , toggleMenuItem_(new QAction(this))
    , searchQueue_(QStringLiteral("PTSearchController"))
{
    searchQueue_.setMaxConcurrentOperationCount(1);
    connect(searchField, &QLineEdit::textChanged, this, &PTSearchController::controlTextDidChange);
    connect(searchField, &PTToolbarSearchField::cancelOperation, this,
            [this] { cancelSearchByResigningFirstResponse(true, searchField_); });
    gridController_->setSearchController(this);

    pt::Defaults& defaults = pt::Defaults::standard();
    selectionType_ = defaults.integerForKey(SelectionTypeKey) == CurrentSelection ? CurrentSelection : AllSets;
    if (selectionType_ == AllSets)
        defaults.set(SelectionTypeKey, qint64(AllSets));

    scopeMenu_->setObjectName(QStringLiteral("searchScopeMenu"));
    const auto addScope = [&](const QString& title, qint64 tag) {
        QAction* item = scopeMenu_->addAction(title);
        item->setData(tag);
        item->setCheckable(true);
        scopeGroup_->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { selectTag(item); });
    };
    addScope(tr("All Sets"), AllSets);
    scopeMenu_->addSeparator();
    addScope(tr("Current Selection"), CurrentSelection);
    searchField->setSearchMenuTemplate(scopeMenu_);

    toggleMenuItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    connect(toggleMenuItem_, &QAction::triggered, this, &PTSearchController::toggleSender);
    if (const auto shell = PTBrowserShell::installed())
        shell->addActionAfterFind(toggleMenuItem_);

    timer_.setSingleShot(true);
    timer_.setInterval(TypingPauseMs);
    connect(&timer_, &QTimer::timeout, this, &PTSearchController::performSearch);

    selectTag(scopeGroup_->actions().at(selectionType_));
    watchSaves();
}

PTSearchController::~PTSearchController()
{
    ++generation_;
    searchQueue_.cancelAllOperations();
}

QString PTSearchController::term() const
{
    return searchField_ ? searchField_->text() : QString();
}

void PTSearchController::focus()
{
    if (!searchField_)
        return;
    if (QWidget* window = searchField_->window()) {
        window->raise();
        window->activateWindow();
    }
    searchField_->setFocus(Qt::ShortcutFocusReason);
}

void PTSearchController::cancel()
{
    if (searchField_ && searchField_->hasFocus())
        searchField_->clearFocus();
    clear();
}

void PTSearchController::cancelSearchByResigningFirstResponse(bool resign, QObject*)
{
    timer_.stop();
    ++generation_;
    searchQueue_.cancelAllOperations();
    filteredObjectIDs_.clear();
    currentTerms_.clear();
    canSearchForTerm_ = false;
    if (searchField_)
        searchField_->setBadgeTitle(QString());
    if (resign) {
        if (searchField_) {
            const QSignalBlocker blocker(searchField_);
            searchField_->clear();
        }
        pt::NotificationCenter::defaultCenter().post(DidCancelWithResigningNotification, this);
    } else {
        pt::NotificationCenter::defaultCenter().post(DidCancelWithoutResigningNotification, this);
    }
}

void PTSearchController::reperformSearch()
{
    filteredObjectIDs_.clear();
    performSearch();
}

void PTSearchController::toggleSender()
{
    selectTag(scopeGroup_->actions().at(selectionType_ == AllSets ? CurrentSelection : AllSets));
}

QSet<PTCollection*> PTSearchController::currentSelectedSets() const
{
    QSet<PTCollection*> sets;
    const auto sidebar = PTBrowserSidebar::installed();
    if (selectionType_ != CurrentSelection || !sidebar)
        return sets;
    for (pt::store::ManagedObject* object : sidebar->selectedGroupsAndCollections()) {
        if (PTCollection* set = PTCollection::from(object))
            sets.insert(set);
        else if (PTGroup* group = PTGroup::from(object))
            for (PTCollection* inner : PTGroupController::sharedController().collectionsForGroup(group))
                sets.insert(inner);
    }
    return sets;
}

void PTSearchController::controlTextDidChange()
{
    timer_.start();
}

void PTSearchController::performSearch()
{
    timer_.stop();
    // Spaces alone are no terms: they would show every item.
    canSearchForTerm_ = stringAdditions::trim(stringAdditions::normalizedString(term())).size() > 1;
    if (!canSearchForTerm_) {
        cancelSearchByResigningFirstResponse(false, this);
        return;
    }
    const auto search = [self = QPointer<PTSearchController>(this), generation = ++generation_, text = term()] {
        // Dropped when a later search or a cancel came while the edits were being saved.
        if (self && self->generation_ == generation)
            self->performSearchWithTermString(text);
    };
    if (const auto sidebar = PTBrowserSidebar::installed())
        sidebar->saveInspectedItemEdits(search);
    else
        search();
}

void PTSearchController::performSearchWithTermString(const QString& string)
{
    QSet<QString> terms;
    for (const QString& piece : stringAdditions::componentsSeparatedByChars(string, " ")) {
        // Extra spaces leave empty pieces, which every item would match.
        const QString term = stringAdditions::trim(stringAdditions::normalizedString(piece));
        if (!term.isEmpty())
            terms.insert(term);
    }
    // Only a search that keeps every earlier term can look within the earlier results.
    if (!currentTerms_.isEmpty() && !terms.contains(currentTerms_))
        filteredObjectIDs_.clear();
    currentTerms_ = terms;
    performSearchWithTerms(terms, filteredObjectIDs_, currentSelectedSets(),
                           [this](const QSet<ObjectID>& ids) { applyResults(ids); });
}

void PTSearchController::performSearchWithTerms(const QSet<QString>& terms, const QSet<ObjectID>& narrowing,
                                                const QSet<PTCollection*>& sets, ResultHandler resultHandler)
{
    searchQueue_.cancelAllOperations();
    pt::store::ObjectContext* main = PTMainManagedObjectContext();
    if (!main)
        return;
    QVector<Predicate> parts;
    if (!narrowing.isEmpty())
        parts << Predicate::in(QStringLiteral("SELF"), idsOf(narrowing));
    parts << *Predicate::parse(QStringLiteral("collection!=nil"));
    for (const QString& term : terms)
        parts << searchTemplate().substitute({{QStringLiteral("term"), stringAdditions::trim(term)}});
    Predicate predicate = Predicate::andPredicate(parts);
    if (!sets.isEmpty()) {
        QVector<ObjectID> setIDs;
        for (PTCollection* set : sets)
            setIDs << set->objectID();
        predicate = Predicate::andPredicate({Predicate::in(QStringLiteral("collection"), setIDs), predicate});
    }
    const quint64 generation = ++generation_;
    QPointer<PTSearchController> self(this);
    searchQueue_.addOperation([coordinator = main->sharedCoordinator(), predicate, generation, self,
                               handler = std::move(resultHandler)] {
        pt::store::ObjectContext context(pt::store::ObjectContext::Kind::Confinement, coordinator);
        // A failed fetch finds nothing.
        const QVector<ObjectID> found = context.fetchIDs({PTItem::EntityName, predicate}).valueOr({});
        const QSet<ObjectID> ids(found.begin(), found.end());
        pt::DispatchQueue::main().async([ids, generation, self, handler] {
            if (self && self->generation_ == generation)
                handler(ids);
        });
        contextAdditions::resetAndBreakCycles(context);
    });
}

void PTSearchController::applyResults(const QSet<ObjectID>& ids)
{
    filteredObjectIDs_ = ids;
    QVector<PTItem*> items;
    items.reserve(ids.size());
    // The fetch read the store: items deleted here and not yet saved are still in it.
    if (pt::store::ObjectContext* main = PTMainManagedObjectContext())
        for (const ObjectID& id : ids)
            if (PTItem* item = PTItem::from(main->objectWithID(id)); item && !item->isDeleted())
                items << item;
    if (searchField_)
        searchField_->setBadgeTitle(QString::number(items.size()));
    gridController_->setDataFromItemsArray(items);
}

void PTSearchController::selectTag(QAction* item)
{
    item->setChecked(true);
    // Results of the other scope are no set to search within.
    if (item->data().toLongLong() != selectionType_)
        filteredObjectIDs_.clear();
    selectionType_ = item->data().toLongLong();
    updatePlaceholder();
    pt::Defaults::standard().set(SelectionTypeKey, selectionType_);
    if (canSearchForTerm_)
        performSearch();
}

void PTSearchController::updatePlaceholder()
{
    if (searchField_)
        searchField_->setPlaceholderText(tr("Search Pictern"));
    toggleMenuItem_->setText(selectionType_ == CurrentSelection ? tr("Find in All Sets")
                                                                : tr("Find in Current Selection"));
}

void PTSearchController::clear()
{
    if (!searchField_ || searchField_->hasFocus())
        return;
    const bool wasSearching = canSearchForTerm_;
    timer_.stop();
    ++generation_;
    canSearchForTerm_ = false;
    filteredObjectIDs_.clear();
    currentTerms_.clear();
    {
        const QSignalBlocker blocker(searchField_);
        searchField_->clear();
    }
    searchField_->setBadgeTitle(QString());
    if (wasSearching)
        pt::NotificationCenter::defaultCenter().post(DidClearNotification, this);
}

void PTSearchController::watchSaves()
{
    // Narrowing by the last results would miss items saved since, or given a searched text since: the main
    // context's own saves, and those of workers that it merges.
    pt::store::ObjectContext* main = PTMainManagedObjectContext();
    if (!main)
        return;
    const auto forgetResults = [self = QPointer<PTSearchController>(this)](const pt::store::DidSave& saved) {
        const auto searched = [](const QSet<QString>& keys) {
            return std::any_of(std::begin(SearchedAttributes), std::end(SearchedAttributes),
                               [&keys](const QString& key) { return keys.contains(key); });
        };
        if (saved.inserted.isEmpty() && std::none_of(saved.updated.cbegin(), saved.updated.cend(), searched))
            return;
        pt::DispatchQueue::main().async([self] {
            if (self)
                self->filteredObjectIDs_.clear();
        });
    };
    saveToken_ = main->onDidSave(forgetResults);
    mergeToken_ = main->onDidMerge(forgetResults);
}
