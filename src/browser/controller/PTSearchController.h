#pragma once

#include "platform/runtime/OperationQueue.h"
#include "platform/store/ObjectID.h"
#include "platform/store/ObservationToken.h"

#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>
#include <memory>

class PTCollection;
class PTSearchGridController;
class PTToolbarSearchField;
class QAction;
class QActionGroup;
class QMenu;

// Drives the toolbar's search field: once typing pauses, finds the items whose normalised name, tags or
// description hold every term, in all sets or in the sets selected in the source list, and hands them to the
// grid controller. The fetch runs on a serial queue in a context of its own; only object IDs come back.
// A search that only adds terms searches within the previous results. The fetch reads the store, so what was
// typed in the inspector is saved before a search runs.
class PTSearchController : public QObject {
    Q_OBJECT
public:
    static inline const QString SelectionTypeKey = QStringLiteral("PTSearchFieldSelectionTypeSaveKey");
    static inline const QString DidClearNotification = QStringLiteral("PT_SEARCH_CONTROLLER_DID_CLEAR");
    static inline const QString DidCancelWithResigningNotification =
        QStringLiteral("PT_SEARCH_CONTROLLER_DID_CANCEL_WITH_RESIGNING");
    static inline const QString DidCancelWithoutResigningNotification =
        QStringLiteral("PT_SEARCH_CONTROLLER_DID_CANCEL_WITHOUT_RESIGNING");
    static constexpr int TypingPauseMs = 250;
    enum SelectionType : qint64 { AllSets = 0, CurrentSelection = 1 };

    using ResultHandler = std::function<void(const QSet<pt::store::ObjectID>&)>;

    PTSearchController(PTToolbarSearchField* searchField, PTSearchGridController* gridController,
                       QObject* parent = nullptr);
    ~PTSearchController() override;

    bool isSearching() const { return canSearchForTerm_; }
    // The field's text as typed.
    QString term() const;
    qint64 type() const { return selectionType_; }
    // The normalised terms of the last search.
    QSet<QString> currentTerms() const { return currentTerms_; }
    // The results of the last search, within which a search that only adds terms looks.
    QSet<pt::store::ObjectID> filteredObjectIDs() const { return filteredObjectIDs_; }
    // The Edit menu's scope switch (Shift+Ctrl+F), to be placed after "Find".
    QAction* toggleMenuItem() const { return toggleMenuItem_; }

    // The field's window comes to the front and the field takes the focus.
    void focus();
    // The field loses the focus, then the search is cleared.
    void cancel();
    void cancelSearchByResigningFirstResponse(bool resign, QObject* sender = nullptr);
    // Runs the current search again, anew (the source list's selection changed).
    void reperformSearch();
    // Switches between all sets and the current selection.
    void toggleSender();
    QSet<PTCollection*> currentSelectedSets() const;

    void performSearchWithTermString(const QString& string);
    // Cancels the queued searches and queues this one; the handler runs on the main queue unless a later search
    // or a cancel superseded it.
    void performSearchWithTerms(const QSet<QString>& terms, const QSet<pt::store::ObjectID>& narrowing,
                                const QSet<PTCollection*>& sets, ResultHandler resultHandler);

private:
    void controlTextDidChange();
    void performSearch();
    void selectTag(QAction* item);
    void updatePlaceholder();
    // Ends a search in force unless the field is being edited.
    void clear();
    void applyResults(const QSet<pt::store::ObjectID>& ids);
    void watchSaves();

    QPointer<PTToolbarSearchField> searchField_;
    PTSearchGridController* gridController_;
    QTimer timer_;
    qint64 selectionType_ = AllSets;
    QMenu* scopeMenu_;
    QActionGroup* scopeGroup_;
    QAction* toggleMenuItem_;
    pt::OperationQueue searchQueue_;
    QSet<pt::store::ObjectID> filteredObjectIDs_;
    QSet<QString> currentTerms_;
    bool canSearchForTerm_ = false;
    // Bumped by every search and cancel: results of an older one are dropped.
    quint64 generation_ = 0;
    pt::store::ObservationToken saveToken_;
    pt::store::ObservationToken mergeToken_;
};
