#pragma once

#include "library/ImportTyping.h"
#include "platform/runtime/NotificationCenter.h"
#include "ui/views/PTSheet.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <functional>

class PTCollection;
class PTGroup;

class PTSheetBrowseView;
class PTSheetSegmentController;
class PTSwitchControl;
class PTSheetTextField;
class PTSheetViewPopupButton;
class PTSheetViewTitleBarController;
class PTStackView;
class PTToolbarSegmentedControl;
class QAction;
class QLabel;
class QMenu;
namespace pt::store {
class ManagedObject;
}

// The "Import Icons" sheet: the user picks the target (an existing set, or a new set whose name is proposed from
// the files), adds files with the browse well, and confirms. From the files and the import options it makes a
// new group, a new set or both, selects the target in the source list and runs the import. A single exchange
// bundle goes to the bundle reader instead. While it is open with files it pushes the import options widened
// by their types, and pops them on every way out.
class PTAddCollectionSheetController : public QObject {
    Q_OBJECT
public:
    enum Type { NoPreselection = 0, PreselectCollection = 1 };
    using FinishedHandler = std::function<void(pt::store::ManagedObject* target, bool cancelled)>;

    static inline const QString Title = QStringLiteral("Import Icons");
    static inline const QString NewSet = QStringLiteral("New Set");
    static inline const QString NewSetPlaceholder = QStringLiteral("New Set Name");
    static inline const QString ImportToExisting = QStringLiteral("Import to an Existing Set");
    static inline const QString ImportToNew = QStringLiteral("Import to a New Set");
    static inline const QString CreateEmpty = QStringLiteral("Create Empty Set");
    static inline const QString ImportBundle = QStringLiteral("Import Pictern");
    static inline const QString BreadCrumbSeparator = QStringLiteral(" \u27E9 ");
    static inline const QString PreferencesPane = QStringLiteral("io");
    static inline const QString AdvancedIdentifier = QStringLiteral("import.advanced");

    explicit PTAddCollectionSheetController(QObject* parent = nullptr);
    ~PTAddCollectionSheetController() override;

    // Call before presenting: the sheet is for an import another application asked for.
    void setRequestedApplication(const QString& name);
    // Attaches the sheet to the window (shows it alone without one). The handler gets the import target (none
    // when nothing was imported) and whether the sheet was cancelled, once.
    void presentSheetFromWindow(QWidget* window, Type type, const QList<QUrl>& urls, PTCollection* collection,
                                FinishedHandler finishedHandler);
    // Adds the files the sheet does not hold yet, as if they had been presented with it, and brings the sheet
    // forward. False, adding nothing, once the user has confirmed or the sheet has ended.
    bool joinURLs(const QList<QUrl>& urls);

    void add();
    void cancel();
    void showImportPreferences();
    void selectCollectionInDropDown(PTCollection* set);

    // The effective import options (the pushed set while one is pushed).
    static PTImportOptions importOptions();
    // The extensions the browse well offers under the effective options, "pictern" last.
    static QStringList allowedFileTypes();
    bool browseViewIsPicternOnly() const;

    PTSheet* window() const { return window_; }
    PTSheetViewPopupButton* collectionDrop() const { return collectionDrop_; }
    QMenu* collectionMenu() const { return menu_; }
    PTSheetTextField* inputField() const { return inputField_; }
    PTSheetBrowseView* browseView() const { return browseView_; }
    QLabel* informativeTextField() const { return informativeTextField_; }
    PTToolbarSegmentedControl* addControl() const { return addControl_; }
    PTToolbarSegmentedControl* cancelControl() const { return cancelControl_; }
    PTSheetViewTitleBarController* titleBarController() const { return titleBarController_; }
    PTSheetSegmentController* advancedSegmentController() const { return advancedSegmentController_; }
    // The advanced section's switch of the option bit; null for a bit it does not show.
    PTSwitchControl* switchForOption(PTImportOptions bit) const { return switches_.value(bit); }

private:
    void buildMenu();
    void recursiveCollectionsIntoMenu(QMenu* menu, PTGroup* group);
    void collectionDropItemWasSelected(QAction* item);
    void collectionDidChange();
    void browseViewUrlsDidChange(const QList<QUrl>& urls);
    void setAddLabel(const QString& label);
    QString addLabel() const;
    void popPushedOptions();
    // Pushes the effective options widened by the types of the files.
    void widenOptionsFor(const QList<QUrl>& urls);
    void showRequestedCount(qsizetype count);
    void buildAdvancedSection();
    // Sets or clears the bit in the sheet's own pushed options (pushing them first when it has none yet).
    void setOption(PTImportOptions bit, bool on);
    void updateSwitches();
    // Runs the imports of the confirmed sheet, then ends it.
    void runImports(QList<QUrl> files, PTCollection* set, QList<QUrl> folders, PTGroup* group, PTImportOptions options);
    void endSheet(int code);
    void finished(bool cancelled);

    QPointer<PTSheet> window_;
    PTSheetViewTitleBarController* titleBarController_ = nullptr;
    PTStackView* stackView_ = nullptr;
    PTStackView* setsView_ = nullptr;
    PTSheetViewPopupButton* collectionDrop_ = nullptr;
    QMenu* menu_ = nullptr;
    PTSheetTextField* inputField_ = nullptr;
    PTSheetBrowseView* browseView_ = nullptr;
    QLabel* informativeTextField_ = nullptr;
    PTToolbarSegmentedControl* addControl_ = nullptr;
    PTToolbarSegmentedControl* cancelControl_ = nullptr;
    PTSheetSegmentController* advancedSegmentController_ = nullptr;
    QHash<PTImportOptions, PTSwitchControl*> switches_;
    QAction* placeholderSetItem_ = nullptr;
    QAction* placeholderSeparator_ = nullptr;
    QHash<QString, QAction*> menuItems_;
    QString oldButtonLabel_;
    bool hasOldButtonLabel_ = false;
    QString requestedApplication_;
    bool requiredPushOptions_ = false;
    QPointer<QWidget> attachedWindow_;
    FinishedHandler finishedHandler_;
    pt::store::ManagedObject* selectedManagedObject_ = nullptr;
    bool ended_ = false;
    bool confirmed_ = false;
    bool selectingPlaceholder_ = false;
    pt::ObserverToken optionsObserver_;
};
