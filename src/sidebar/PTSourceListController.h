#pragma once

#include "platform/runtime/NotificationCenter.h"
#include "platform/store/ManagedObject.h"
#include "platform/ui/CommandHandler.h"
#include "sidebar/PTSourceListView.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <functional>
#include <vector>

class PTCollection;
class PTGroup;
class PTObjectSelectionController;
class PTSourceListDelegate;
class PTSourceListDrops;
class PTSourceListItem;
class PTSourceListModel;
class QMenu;

// The left pane: the outline of the library's groups and sets through which the user chooses what the grid
// shows. Remembers the open groups and the selected rows across launches, hands each settled selection to the
// grid (once key repeat pauses), reloads on the set controller's changes, and carries the commands on groups
// and sets, which also answer the window's commands. Main thread only.
class PTSourceListController : public QObject, public pt::CommandHandler {
    Q_OBJECT
public:
    using Objects = QVector<pt::store::ManagedObject*>;
    // Receives each settled selection: the sets to show in row order, the selected groups and sets, and whether
    // the grid should reload although the sets are the same.
    using GridHandler = std::function<void(const QVector<PTCollection*>& sets, const Objects& topLevel, bool force)>;

    static inline const QString ExpandedURIsKey = QStringLiteral("expandedURIKeys");
    static inline const QString SelectedIdentifiersKey = QStringLiteral("PTSourceListCollectionSelectedIdentifiers");
    static inline const QString LegacyIdentifierKey = QStringLiteral("PTSourceListCollectionIdentifierKey");
    static inline const QString GroupCommand = QStringLiteral("groupSelection:");
    static inline const QString UngroupCommand = QStringLiteral("ungroupSelection:");
    static inline const QString MergeCommand = QStringLiteral("mergeSelection:");
    static inline const QString RenameCommand = QStringLiteral("rename:");
    static inline const QString ExportCommand = QStringLiteral("export:");
    // Answered only while the list has the focus: elsewhere Delete is the grid's, or nobody's.
    static inline const QString DeleteCommand = QStringLiteral("delete:");
    static inline const QString NewGroupCommand = QStringLiteral("newGroup:");
    static constexpr int KeyDelayMs = 80;
    static constexpr int ClickDelayMs = 20;

    // Reads the remembered state, builds the rows and selects what was selected.
    explicit PTSourceListController(QObject* parent = nullptr);
    ~PTSourceListController() override;
    static PTSourceListController* sharedController();

    PTSourceListView* view() const { return view_; }
    PTSourceListModel* model() const { return model_; }
    PTObjectSelectionController& objectSelectionController() { return *menus_; }
    // By default the shared grid controller.
    void setGridHandler(GridHandler handler) { grid_ = std::move(handler); }
    // The debounce of selection changes; tests read its interval.
    const QTimer& selectionTimer() const { return timer_; }
    const QStringList& selectedIdentifiers() const { return selectedIdentifiers_; }
    const QSet<QString>& expandedURIs() const { return expanded_; }

    // Rebuilds the rows, opens the remembered groups and selects the remembered rows ("All" when none is left).
    void reloadData();
    // Hands the current selection to the grid at once, forced.
    void reloadSelectedItem();
    // Selects the rows of the groups and sets, opening their enclosing groups from the outside in and keeping
    // the scroll position. The completion runs after the next propagation.
    void selectItems(const Objects& objects, bool extend, std::function<void()> completion = {});
    // Runs the block, then hands the selection to the grid at once, forced (waiting completions run too).
    void forceSelectionPropagationWithBlock(const std::function<void()>& block);

    // The set of the current row, or null when that row is not a set.
    PTCollection* currentCollection() const;
    // The groups and sets of the selected rows, in row order.
    Objects currentSelectedManagedObjects() const;
    void setSelectedCollection(pt::store::ManagedObject* object);
    // Whether the set is shown: it is the current set, lies inside a selected group, or "All" is selected.
    bool shouldRefreshCollection(PTCollection* set) const;
    // The object to select once these are removed: that of the row above the first one; null when that row has
    // none (the header) or the first object is among the fixed rows.
    pt::store::ManagedObject* proposedPreviousItemAfterRemovalOfItems(const Objects& objects) const;
    QModelIndex indexForObject(pt::store::ManagedObject* object) const;
    // Runs the block and scrolls back to where the list was.
    void cancelScrollForReloadWithBlock(const std::function<void()>& block);
    // Answers the window's commands (ahead of the application's) while it lives.
    void answerCommandsOfWindow(QWidget* window);
    // Opens the group's row from the next reload on.
    void expandObject(PTGroup* group);
    // Writes the open groups still in the store.
    void archiveData();

    // The commands on groups and sets (the objects of a menu, or the selection when empty).
    void groupSelection(const Objects& objects = {});
    void ungroupSelection(const Objects& objects = {});
    void mergeSelection(const Objects& objects = {});
    void renameObject(pt::store::ManagedObject* object);
    void exportObject(const Objects& objects = {});
    // Opens the add-icons sheet for the current set.
    void addSet();
    // A new group, last in the parent (null: the top level), selected with its name open for editing.
    void insertGroupIntoGroup(PTGroup* parent);
    // Opens the row of the object for renaming; nothing when it has no row.
    void beginEditForManagedObject(pt::store::ManagedObject* object);

    // The commands above on the current selection, for the window's menus and toolbar.
    bool respondsTo(const QString& command) const override;
    bool validate(const QString& command, pt::CommandState& state) override;
    void perform(const QString& command) override;

private:
    void selectionDidChange();
    void propagateSelection(bool forced);
    void runSelectionBlocks();
    // Selects the rows of the remembered identifiers; answers whether any matched.
    bool selectIdentifiedRows();
    void expandRemembered(const QModelIndex& parent);
    void collectionWillBeDeleted(PTCollection* set);
    void rememberExpansion(const QModelIndex& index, bool expanded);
    void updateAppearance();
    // Section headers in the grid show set names.
    void objectRenamed();
    void beginEditSoon(pt::store::ManagedObject* object);
    QMenu* menuForItem(PTSourceListItem* item, bool allowDefault);
    Objects commandObjects(const Objects& objects) const;
    QModelIndexList selectedRowsInOrder() const;

    PTSourceListModel* model_;
    PTSourceListDelegate* delegate_;
    QPointer<PTSourceListView> view_;
    std::unique_ptr<PTObjectSelectionController> menus_;
    std::unique_ptr<PTSourceListDrops> drops_;
    GridHandler grid_;
    QPointer<QWidget> window_;
    QTimer timer_;
    QStringList selectedIdentifiers_;
    QSet<QString> expanded_;
    bool force_ = false;
    std::vector<std::function<void()>> selectionBlocks_;
    std::vector<pt::ObserverToken> observers_;
    PTAppearanceObserver appearanceObserver_{this, &PTSourceListController::updateAppearance};
};
