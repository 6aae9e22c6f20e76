#include "transfer/import/PTAddCollectionSheetController.h"

#include "browser/PTBrowserShell.h"
#include "foundation/MenuAdditions.h"
#include "foundation/StringAdditions.h"
#include "library/bundle/PTSourceListSelection.h"
#include "library/bundle/PTTernImporter.h"
#include "library/controllers/PTCollectionController.h"
#include "library/controllers/PTGroupController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/store/ContextAdditions.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/ui/SheetHost.h"
#include "transfer/import/PTPasteBoard.h"
#include "transfer/import/PTSheetBrowseView.h"
#include "ui/PTPersistedImportOptions.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/sheets/PTSheetSegmentController.h"
#include "ui/sheets/PTSheetStack.h"
#include "ui/sheets/PTSheetView.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarController.h"
#include "ui/theme/PTChevron.h"
#include "ui/views/PTSheet.h"
#include "ui/views/PTStackView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QSet>

namespace {

constexpr int SheetWidth = 440;
const QString RequestedText = QStringLiteral("You have selected %1 icon%2 to be imported from %3.");
const QString RequestedPlaceholder = QStringLiteral("Import From %1");
const QString BundleText = QStringLiteral(
    "You have selected \"%1\" which is an Pictern file. To continue importing this, simple click the button below.");
const QString PreferencesToolTip = QStringLiteral("Import Preferences");

PTToolbarSegmentedControl* sheetControl(const QString& label, const QString& key, bool confirmation)
{
    auto* control = new PTToolbarSegmentedControl;
    control->setSegmentCount(1);
    control->setSublabeledFromMenus(true);
    control->setConfirmationStyle(confirmation);
    control->setCustomHeight(24);
    control->setMinWidth(70);
    control->setObeyMinWidthForSingleSegment(true);
    control->setAutoCalculatesFrame(true);
    control->setKeyEquivalent(key);
    control->setLabel(label, 0);
    control->setAccessibleName(label);
    return control;
}

QList<QUrl> contentsOf(const QString& folder)
{
    QList<QUrl> urls;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name))
        urls << QUrl::fromLocalFile(dir.filePath(name));
    return urls;
}

} // namespace

PTAddCollectionSheetController::PTAddCollectionSheetController(QObject* parent) : QObject(parent), window_(new PTSheet)
{
    window_->setAccessibleName(Title);
    auto* sheetView = new PTSheetView(window_);
    stackView_ = new PTStackView(sheetView);
    stackView_->setAccessibleName(QStringLiteral("Import icons sheet"));
    stackView_->resize(SheetWidth, 10);
    sheetView->resize(SheetWidth, 10);

    titleBarController_ = new PTSheetViewTitleBarController(this);
    titleBarController_->setTitle(Title);
    titleBarController_->setSubTitle(QString());
    titleBarController_->setShowsActionButton(true);
    titleBarController_->accessoryView()->setToolTip(PreferencesToolTip);
    titleBarController_->accessoryView()->setAccessibleName(PreferencesToolTip);
    connect(titleBarController_, &PTSheetViewTitleBarController::actionTriggered, this,
            &PTAddCollectionSheetController::showImportPreferences);

    collectionDrop_ = new PTSheetViewPopupButton;
    collectionDrop_->setAccessibleName(QStringLiteral("Target"));
    menu_ = new QMenu(collectionDrop_);
    collectionDrop_->setPopupMenu(menu_);
    connect(collectionDrop_, &PTSheetViewPopupButton::itemSelected, this,
            [this](QAction* item) { collectionDropItemWasSelected(item); });
    inputField_ = new PTSheetTextField;
    inputField_->setAccessibleName(QStringLiteral("New set name"));
    inputField_->setPlaceholderText(NewSetPlaceholder);
    browseView_ = new PTSheetBrowseView;
    browseView_->setAllowedFileTypes(allowedFileTypes());
    browseView_->setOptionsProvider(&PTAddCollectionSheetController::importOptions);
    browseView_->setUrlHandler([this](const QList<QUrl>& urls) { browseViewUrlsDidChange(urls); });
    informativeTextField_ = new QLabel;
    informativeTextField_->setAccessibleName(QStringLiteral("Information"));
    informativeTextField_->setWordWrap(true);
    informativeTextField_->hide();

    setsView_ = new PTStackView;
    setsView_->setAccessibleName(QStringLiteral("Target and files"));
    setsView_->setSpacing(10);
    setsView_->setContentInsets(QMarginsF(20, 20, 20, 20));
    setsView_->setViews({collectionDrop_, inputField_, browseView_, informativeTextField_});

    buildAdvancedSection();

    auto* buttonsView = new QWidget;
    buttonsView->setAccessibleName(QStringLiteral("Buttons"));
    auto* buttons = new QHBoxLayout(buttonsView);
    buttons->setContentsMargins(20, 10, 20, 14);
    cancelControl_ = sheetControl(tr("Cancel"), QStringLiteral("\033"), false);
    addControl_ = sheetControl(CreateEmpty, QStringLiteral("\r"), true);
    buttons->addWidget(cancelControl_);
    buttons->addStretch();
    buttons->addWidget(addControl_);
    buttonsView->resize(SheetWidth, buttons->sizeHint().height());
    connect(cancelControl_, &PTToolbarSegmentedControl::action, this, [this] { cancel(); });
    connect(addControl_, &PTToolbarSegmentedControl::action, this, [this] { add(); });

    PTSheetStack::arrange(stackView_,
                          {titleBarController_->view(), setsView_, advancedSegmentController_->view(), buttonsView});

    optionsObserver_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTPersistedImportOptions::ImportOptionsDidChangeNotification, nullptr,
        [this](const pt::Notification&) {
            // Once confirmed, the sheet shows the options its import runs with, whatever is pushed or popped
            // after.
            if (confirmed_)
                return;
            browseView_->setAllowedFileTypes(allowedFileTypes());
            updateSwitches();
        });
    stackView_->relayout();
}

void PTAddCollectionSheetController::buildAdvancedSection()
{
    advancedSegmentController_ = new PTSheetSegmentController(AdvancedIdentifier, false, this);
    advancedSegmentController_->setTitle(tr("Advanced"));
    PTStackView* stack = advancedSegmentController_->stackView();
    stack->setSpacing(6);
    stack->setContentInsets(QMarginsF(20, 4, 20, 14));
    std::vector<QWidget*> rows;
    const std::pair<PTImportOptions, QString> options[] = {
        {PTImportOption::FoldersBecomeGroupsAndSets, tr("Create Groups and Sets from Folders")},
        {PTImportOption::DescendIntoFolders, tr("Search Folders Recursively")},
        {PTImportOption::ExpandSpriteSheets, tr("Expand SVG Sprite Sheets")},
        {PTImportOption::ExpandICNS, tr("Expand ICNS Files")},
        {PTImportOption::ExpandICO, tr("Expand ICO Files")},
        {PTImportOption::KeepFileNames, tr("Keep File Names")},
        {PTImportOption::UseFileTags, tr("Use Tags from Files")},
    };
    for (const auto& [bit, label] : options) {
        auto* row = new QWidget;
        row->setAccessibleName(label);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* text = new QLabel(label);
        text->setAccessibleName(label);
        auto* control = new PTSwitchControl;
        control->setAccessibleName(label);
        layout->addWidget(text);
        layout->addStretch();
        layout->addWidget(control);
        row->resize(SheetWidth - 40, layout->sizeHint().height());
        switches_.insert(bit, control);
        connect(control, &PTSwitchControl::userToggled, this, [this, bit](bool on) { setOption(bit, on); });
        rows.push_back(row);
    }
    stack->setViews(rows);
    updateSwitches();
}

void PTAddCollectionSheetController::setOption(PTImportOptions bit, bool on)
{
    const PTImportOptions current = importOptions();
    const PTImportOptions changed = on ? (current | bit) : (current & ~bit);
    // Only the sheet's own pushed set changes; the stored preferences stay as they are.
    popPushedOptions();
    PTPersistedImportOptions::pushPersistedImportOptions(qint64(changed));
    requiredPushOptions_ = true;
    updateSwitches();
}

void PTAddCollectionSheetController::updateSwitches()
{
    const PTImportOptions options = importOptions();
    for (auto it = switches_.constBegin(); it != switches_.constEnd(); ++it)
        it.value()->setChecked(PTImportOptionsContain(options, it.key()));
}

PTAddCollectionSheetController::~PTAddCollectionSheetController()
{
    popPushedOptions();
    if (window_) {
        pt::SheetHost::end(window_, 0);
        delete window_;
    }
}

void PTAddCollectionSheetController::setRequestedApplication(const QString& name)
{
    requestedApplication_ = name;
}

PTImportOptions PTAddCollectionSheetController::importOptions()
{
    return PTImportOptions(PTPersistedImportOptions::persistedImportOptions());
}

QStringList PTAddCollectionSheetController::allowedFileTypes()
{
    const PTImportOptions options = importOptions();
    QStringList types;
    for (const auto& [extension, bit] : std::initializer_list<std::pair<const char*, PTImportOptions>>{
             {"svg", 0x8}, {"ttf", 0x40}, {"otf", 0x20}, {"icns", 0x100}, {"png", 0x80}, {"gif", 0x10},
             {"pdf", 0x200}, {"webp", 0x1000}, {"ico", 0x4000}}) {
        if (PTImportOptionsContain(options, bit))
            types << QLatin1String(extension);
    }
    return types << PTSheetBrowseView::BundleExtension;
}

void PTAddCollectionSheetController::presentSheetFromWindow(QWidget* window, Type type, const QList<QUrl>& urls,
                                                            PTCollection* collection, FinishedHandler finishedHandler)
{
    finishedHandler_ = std::move(finishedHandler);
    attachedWindow_ = window;
    buildMenu();
    if (type == PreselectCollection && collection && !menuItems_.isEmpty())
        selectCollectionInDropDown(collection);
    collectionDidChange();
    if (!urls.isEmpty()) {
        widenOptionsFor(urls);
        browseView_->setPathURLs(urls);
    }
    updateSwitches();
    setsView_->relayout();
    stackView_->relayout();
    if (window) {
        window->raise();
        pt::SheetHost::begin(window, window_, [this](int code) { finished(code == 0); });
    } else {
        window_->show();
    }
}

bool PTAddCollectionSheetController::joinURLs(const QList<QUrl>& urls)
{
    if (confirmed_ || ended_)
        return false;
    QList<QUrl> joined = browseView_->paths();
    QSet<QUrl> held(joined.cbegin(), joined.cend());
    for (const QUrl& url : urls) {
        if (!held.contains(url)) {
            held.insert(url);
            joined << url;
        }
    }
    if (joined.size() != browseView_->paths().size()) {
        widenOptionsFor(joined);
        browseView_->setPathURLs(joined);
        updateSwitches();
        setsView_->relayout();
        stackView_->relayout();
    }
    window_->raise();
    window_->activateWindow();
    return true;
}

void PTAddCollectionSheetController::showRequestedCount(qsizetype count)
{
    informativeTextField_->setText(
        requestedApplication_.isEmpty() ? QString()
                                        : RequestedText.arg(count).arg(count < 2 ? "" : "s").arg(requestedApplication_));
}

void PTAddCollectionSheetController::widenOptionsFor(const QList<QUrl>& urls)
{
    QStringList paths;
    for (const QUrl& url : urls)
        paths << url.toLocalFile();
    const PTImportOptions current = importOptions();
    popPushedOptions();
    PTPersistedImportOptions::pushPersistedImportOptions(
        qint64(PTImportOptionsForURLs(current, paths)));
    requiredPushOptions_ = true;
}

void PTAddCollectionSheetController::buildMenu()
{
    menu_->clear();
    menuItems_.clear();
    placeholderSetItem_ = nullptr;
    placeholderSeparator_ = nullptr;
    menu_->addAction(NewSet);
    menu_->addSeparator();
    recursiveCollectionsIntoMenu(menu_, nullptr);
    collectionDrop_->selectItem(menu_->actions().first());
}

void PTAddCollectionSheetController::recursiveCollectionsIntoMenu(QMenu* menu, PTGroup* group)
{
    const auto addSet = [&](QMenu* into, PTCollection* set) {
        QAction* item = into->addAction(menuAdditions::itemTitle(set->name()));
        item->setData(QVariant::fromValue(static_cast<void*>(set)));
        menuItems_.insert(set->identifier(), item);
    };
    PTCollection* misc = nullptr;
    if (!group && (misc = PTCollectionController::sharedController().miscCollection())) {
        addSet(menu, misc);
        menu->addSeparator();
    }
    for (pt::store::ManagedObject* child : PTGroupController::sharedController().objectsForGroup(group, false)) {
        if (PTCollection* set = PTCollection::from(child); set && set != misc) {
            addSet(menu, set);
        } else if (PTGroup* subgroup = PTGroup::from(child)) {
            QMenu* submenu = menu->addMenu(menuAdditions::itemTitle(subgroup->name()));
            recursiveCollectionsIntoMenu(submenu, subgroup);
        }
    }
}

void PTAddCollectionSheetController::collectionDropItemWasSelected(QAction* item)
{
    // Showing the placeholder selects it again.
    if (selectingPlaceholder_)
        return;
    const bool inSubmenu = item && (item == placeholderSetItem_ || !menu_->actions().contains(item));
    if (inSubmenu) {
        auto* set = static_cast<PTCollection*>(item->data().value<void*>());
        if (!placeholderSetItem_) {
            QAction* first = menu_->actions().first();
            placeholderSetItem_ = new QAction(menu_);
            menu_->insertAction(first, placeholderSetItem_);
            placeholderSeparator_ = menu_->insertSeparator(first);
        }
        const QString path = set ? set->breadCrumbs().join(BreadCrumbSeparator) : QString();
        placeholderSetItem_->setText(menuAdditions::itemTitle(PTChevron::legible(path, menu_->font())));
        placeholderSetItem_->setData(item->data());
        selectingPlaceholder_ = true;
        collectionDrop_->selectItem(placeholderSetItem_);
        selectingPlaceholder_ = false;
    } else if (placeholderSetItem_) {
        menu_->removeAction(placeholderSeparator_);
        menu_->removeAction(placeholderSetItem_);
        placeholderSetItem_->deleteLater();
        placeholderSeparator_->deleteLater();
        placeholderSetItem_ = nullptr;
        placeholderSeparator_ = nullptr;
    }
    collectionDidChange();
}

void PTAddCollectionSheetController::selectCollectionInDropDown(PTCollection* set)
{
    QAction* item = menuItems_.value(set->identifier());
    if (!item)
        return;
    collectionDrop_->selectItem(item);
}

void PTAddCollectionSheetController::collectionDidChange()
{
    QAction* selected = collectionDrop_->selectedItem();
    const bool hasSet = selected && selected->data().value<void*>();
    if (hasSet) {
        inputField_->hide();
        inputField_->clear();
        inputField_->setEnabled(false);
        inputField_->clearFocus();
        setAddLabel(ImportToExisting);
    } else {
        inputField_->show();
        inputField_->setEnabled(true);
        inputField_->setFocus();
        setAddLabel(browseView_->paths().isEmpty() ? CreateEmpty : ImportToNew);
    }
    setsView_->relayout();
}

void PTAddCollectionSheetController::browseViewUrlsDidChange(const QList<QUrl>& urls)
{
    if (!requestedApplication_.isEmpty()) {
        inputField_->setPlaceholderText(RequestedPlaceholder.arg(requestedApplication_));
    } else {
        QString suggestion;
        QStringList paths;
        for (const QUrl& url : urls)
            paths << url.toLocalFile();
        PTImportAnalysePaths(paths, importOptions(), &suggestion);
        inputField_->setPlaceholderText(suggestion.isEmpty() ? NewSetPlaceholder : suggestion);
    }
    if (browseViewIsPicternOnly()) {
        if (!hasOldButtonLabel_) {
            oldButtonLabel_ = addLabel();
            hasOldButtonLabel_ = true;
        }
        collectionDrop_->hide();
        inputField_->hide();
        advancedSegmentController_->view()->hide();
        informativeTextField_->setText(BundleText.arg(QFileInfo(urls.first().toLocalFile()).fileName()));
        informativeTextField_->show();
        setAddLabel(ImportBundle);
    } else {
        collectionDrop_->show();
        inputField_->show();
        advancedSegmentController_->view()->show();
        // A sheet another application asked for says so, with the count of its files.
        showRequestedCount(urls.size());
        informativeTextField_->setVisible(!requestedApplication_.isEmpty());
        if (hasOldButtonLabel_) {
            setAddLabel(oldButtonLabel_);
            hasOldButtonLabel_ = false;
        }
        collectionDidChange();
    }
    setsView_->relayout();
}

bool PTAddCollectionSheetController::browseViewIsPicternOnly() const
{
    const QList<QUrl> paths = browseView_->paths();
    return paths.size() == 1
           && QFileInfo(paths.first().toLocalFile()).suffix().compare(PTSheetBrowseView::BundleExtension, Qt::CaseInsensitive) == 0;
}

void PTAddCollectionSheetController::setAddLabel(const QString& label)
{
    addControl_->setLabel(label, 0);
    addControl_->setAccessibleName(label);
    addControl_->updateLabelForSegment(0);
}

QString PTAddCollectionSheetController::addLabel() const
{
    return addControl_->label(0);
}

void PTAddCollectionSheetController::showImportPreferences()
{
    if (const auto shell = PTBrowserShell::installed())
        shell->presentPreferences(PreferencesPane);
}

void PTAddCollectionSheetController::add()
{
    QList<QUrl> paths = browseView_->paths();
    const PTImportOptions options = importOptions();
    if (browseViewIsPicternOnly()) {
        confirmed_ = true;
        PTTernImporter::importRorevAtURLs({paths.first().toLocalFile()}, [guard = QPointer(this)] {
            if (guard)
                guard->endSheet(1);
        });
        popPushedOptions();
        return;
    }
    PTCollection* set = nullptr;
    PTGroup* group = nullptr;
    QList<QUrl> folders;
    if (inputField_->isEnabled()) {
        QString name = stringAdditions::trim(inputField_->text());
        if (name.isEmpty())
            name = inputField_->placeholderText();
        if (name.isEmpty()) {
            QApplication::beep();
            return;
        }
        QStringList localPaths;
        for (const QUrl& url : std::as_const(paths))
            localPaths << url.toLocalFile();
        const PTImportKind kind = PTImportAnalysePaths(localPaths, options);
        if (kind == PTImportKind::Group || kind == PTImportKind::GroupAndSet) {
            group = PTGroupController::sharedController().createGroupWithName(name, nullptr);
            // One folder: its contents, not the folder itself.
            if (paths.size() == 1)
                paths = contentsOf(paths.first().toLocalFile());
            // Loose files go to the new set, folders into the group.
            QList<QUrl> files;
            for (const QUrl& url : std::as_const(paths))
                (QFileInfo(url.toLocalFile()).isDir() ? folders : files) << url;
            paths = files;
        }
        if (kind != PTImportKind::Group) {
            set = PTCollectionController::sharedController().createCollectionWithName(name, nullptr);
            if (set && group)
                set->setGroup(group);
        }
    } else {
        if (paths.isEmpty()) {
            QApplication::beep();
            return;
        }
        QAction* selected = collectionDrop_->selectedItem();
        set = selected ? static_cast<PTCollection*>(selected->data().value<void*>()) : nullptr;
    }
    pt::store::ManagedObject* target = set ? static_cast<pt::store::ManagedObject*>(set) : group;
    if (PTHasManagedObjectContext())
        contextAdditions::obtainPermanentIDsForInsertedObjects(*PTMainManagedObjectContext());
    if (target) {
        if (const std::shared_ptr<PTSourceListSelection> selection = PTSourceListSelection::installed())
            selection->selectItems({target}, false);
        PTPasteBoard::purgeAndNotify();
    }
    if (paths.isEmpty() && folders.isEmpty()) {
        cancel();
        return;
    }
    selectedManagedObject_ = target;
    confirmed_ = true;
    runImports(paths, set, folders, group, options);
    popPushedOptions();
}

void PTAddCollectionSheetController::runImports(QList<QUrl> files, PTCollection* set, QList<QUrl> folders,
                                               PTGroup* group, PTImportOptions options)
{
    // The controller may be gone by the time an import completes (its sheet ended another way, the application
    // closing down): the completions hold it weakly.
    const QPointer guard(this);
    if (!files.isEmpty() && set) {
        PTPasteBoard::importIcons(files, options, set, window_, [guard, folders, group, options] {
            if (guard)
                guard->runImports({}, nullptr, folders, group, options);
        });
        return;
    }
    if (!folders.isEmpty() && group) {
        PTPasteBoard::importIcons(folders, options, group, window_, [guard] {
            if (guard)
                guard->endSheet(1);
        });
        return;
    }
    endSheet(1);
}

void PTAddCollectionSheetController::cancel()
{
    popPushedOptions();
    endSheet(0);
}

void PTAddCollectionSheetController::popPushedOptions()
{
    if (!requiredPushOptions_)
        return;
    requiredPushOptions_ = false;
    PTPersistedImportOptions::popPersistedImportOptions();
}

void PTAddCollectionSheetController::endSheet(int code)
{
    if (window_ && pt::SheetHost::parentOfSheet(window_)) {
        pt::SheetHost::end(window_, code);
        return;
    }
    if (window_)
        window_->hide();
    finished(code == 0);
}

void PTAddCollectionSheetController::finished(bool cancelled)
{
    if (ended_)
        return;
    ended_ = true;
    if (finishedHandler_)
        finishedHandler_(cancelled ? nullptr : selectedManagedObject_, cancelled);
}
