#include "sidebar/inspector/PTIconSideBarController.h"

#include "browser/PTBrowserTransfer.h"
#include "foundation/StringAdditions.h"
#include "library/ImportNaming.h"
#include "library/controllers/PTStoredFileMove.h"
#include "library/controllers/PTTagController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/entities/PTLicence.h"
#include "library/upkeep/PTIconItegrityController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/store/ObjectContext.h"
#include "foundation/PTUtils.h"
#include "sidebar/inspector/PTIconSideBarPreviewViewController.h"
#include "sidebar/inspector/PTLicenceSideBarSegmentController.h"
#include "sidebar/inspector/PTOpenInControl.h"
#include "sidebar/inspector/PTSideBarFields.h"
#include "sidebar/inspector/PTSideBarSegmentController.h"
#include "sidebar/inspector/PTTagTokenField.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/views/PTStackView.h"
#include "ui/views/PTStackViewSeperatorView.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

PTLicence* effectiveLicence(const PTItem* item)
{
    if (PTLicence* own = item->licence())
        return own;
    return item->collection() ? item->collection()->licence() : nullptr;
}

template <typename Value>
QStringList collect(const QVector<PTItem*>& items, Value value)
{
    QStringList texts;
    for (const PTItem* item : items)
        texts << value(item);
    return texts;
}

QLabel* centredLabel(const QString& text)
{
    auto* label = new QLabel(text);
    label->setAccessibleName(text);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

PTIconSideBarController::PTIconSideBarController(QObject* parent) : PTSideBarViewController(parent) {}

PTIconSideBarController::~PTIconSideBarController() = default;

QWidget* PTIconSideBarController::mainStackView() const
{
    return mainStackView_;
}

void PTIconSideBarController::controllerDidLoad()
{
    setLabel(tr("Selection"));
    setSaveStateResponderOptions(SavesBeforeNewItems);

    nameControl_ = sideBarFields::makeTextField(tr("Name"));
    informativeTextControl_ = sideBarFields::makeTextField(tr("Description"));
    messageLabel_ = sideBarFields::makeMessageLabel();
    tagsControl_ = new PTTagTokenField;
    tagsControl_->setAccessibleName(tr("Tags"));
    connect(tagsControl_, &PTSideBarTokenField::tokensChanged, this, [this] { tagsDidChange(tagsControl_->tokens()); });
    connect(nameControl_, &QLineEdit::returnPressed, this, &PTIconSideBarController::requestStateSave);
    connect(informativeTextControl_, &QLineEdit::textEdited, this, [this] { descriptionHasChanged_ = true; });

    inputController_ = new PTSideBarSegmentController(QStringLiteral("sidebar.icon.input"), true, this);
    inputController_->setTitle(tr("Icon Info"));
    inputController_->stackView()->setSpacing(10);
    inputController_->stackView()->setContentInsets(QMarginsF(20, 0, 20, 20));
    inputController_->stackView()->setViews({nameControl_, tagsControl_, informativeTextControl_, messageLabel_});

    licenceSegmentController_ = new PTLicenceSideBarSegmentController(this);
    connect(licenceSegmentController_, &PTLicenceSideBarSegmentController::licencePicked, this,
            &PTIconSideBarController::requestStateSave);

    QWidget* dateView = sideBarFields::makeMetaRow(tr("Date"), &dateControl_);
    QWidget* typeView = sideBarFields::makeMetaRow(tr("Type"), &typeControl_);
    unicodeView_ = sideBarFields::makeMetaRow(tr("Unicode"), &unicodeControl_);
    QWidget* bytesView = sideBarFields::makeMetaRow(tr("Size"), &bytesControl_);
    QWidget* dimensionsView = sideBarFields::makeMetaRow(tr("Dimensions"), &dimensionsControl_);
    numberItemsSelectedView_ = sideBarFields::makeMetaRow(tr("Selected"), &selectedControl_);
    openInSegmentControl_ = new PTOpenInControl;
    openInSegmentControl_->setOpenHandler([this] { openIn(); });
    auto* openView = new QWidget;
    openView->setAccessibleName(tr("Open in"));
    auto* openRow = new QVBoxLayout(openView);
    openRow->setContentsMargins(0, 6, 0, 0);
    openRow->addWidget(openInSegmentControl_);
    openView->resize(openView->sizeHint());
    infoController_ = new PTSideBarSegmentController(QStringLiteral("sidebar.icon.info"), true, this);
    infoController_->setTitle(tr("Meta Data"));
    infoController_->stackView()->setSpacing(3);
    infoController_->stackView()->setContentInsets(QMarginsF(20, 0, 20, 18));
    infoController_->stackView()->setViews(
        {dimensionsView, dateView, typeView, unicodeView_, bytesView, numberItemsSelectedView_, openView});

    mainStackView_ = new PTStackView;
    mainStackView_->setAccessibleName(tr("Selected icons"));
    mainStackView_->setSpacerView(new PTStackViewSeperatorView);
    previewViewController_ = new PTIconSideBarPreviewViewController;
    mainStackView_->setViews({previewViewController_, inputController_->view(), infoController_->view(),
                              licenceSegmentController_->view()});
    adopt(mainStackView_);

    auto* empty = new QWidget;
    empty->setAccessibleName(tr("No icon selected"));
    auto* emptyLayout = new QVBoxLayout(empty);
    emptyLayout->addWidget(centredLabel(tr("No Selection")));
    noSelectionView_ = empty;
    adopt(noSelectionView_);
    errorView_ = makeErrorView();
    adopt(errorView_);

    didReceiveNewItems(true);
}

QWidget* PTIconSideBarController::makeErrorView()
{
    auto* view = new QWidget;
    view->setAccessibleName(tr("Damaged icons"));
    auto* layout = new QVBoxLayout(view);
    layout->addStretch();
    layout->addWidget(centredLabel(tr("The file of an icon is missing or cannot be read.")));
    replaceButton_ = new QPushButton(tr("Replace..."));
    replaceButton_->setAccessibleName(tr("Replace the damaged icons"));
    connect(replaceButton_, &QPushButton::clicked, this, &PTIconSideBarController::replaceIcons);
    layout->addWidget(replaceButton_, 0, Qt::AlignHCenter);
    layout->addStretch();
    return view;
}

bool PTIconSideBarController::wantsAutoSizedView() const
{
    return view() == noSelectionView_ || view() == errorView_;
}

void PTIconSideBarController::willReceiveTopLevelGroupsAndCollections()
{
    ignoreControllerSwap_ = true;
}

void PTIconSideBarController::willReceiveNewItems(bool)
{
    licenceObservations_.clear();
}

void PTIconSideBarController::didReceiveNewItems(bool clear)
{
    QVector<PTCollection*> sets;
    for (PTItem* item : items())
        if (PTCollection* set = item->collection(); set && !sets.contains(set))
            sets.append(set);
    for (PTCollection* set : sets)
        if (set->context())
            licenceObservations_.push_back(set->context()->observe(
                set, QStringLiteral("licence"), [this](pt::store::ManagedObject*, const QString&) {
                    scheduleLicenceRefresh();
                }));

    if (!clear) {
        if (ignoreControllerSwap_ && items().isEmpty())
            ignoreControllerSwap_ = false;
        else
            becomePrimaryController();
    }

    PTIconItegrityController check(items());
    if (!check.checkIntegrity()) {
        invalidItems_ = check.invalidItems();
        invalidFileURLs_ = check.invalidURLs();
        replaceButton_->setEnabled(static_cast<bool>(PTBrowserTransfer::installed()));
        setView(errorView_);
        return;
    }
    invalidItems_.clear();
    invalidFileURLs_.clear();
    setView(items().isEmpty() ? noSelectionView_ : mainStackView_);
    if (!items().isEmpty()) {
        // One file per type stands for the selection.
        QList<QUrl> files;
        QSet<qint64> types;
        for (const PTItem* item : items())
            if (!types.contains(item->type())) {
                types.insert(item->type());
                files << item->fileURL();
            }
        openInSegmentControl_->setFileURLs(files);
    }
    refresh();
}

void PTIconSideBarController::refresh()
{
    sideBarFields::showMessage(messageLabel_, QString());
    previewViewController_->setItems(items());
    refreshName();
    refreshDescription();
    refreshTags();
    refreshMetadata();
    refreshLicence();
}

void PTIconSideBarController::refreshName()
{
    const auto& items = this->items();
    nameControl_->setText(items.size() == 1 ? items.first()->name() : QString());
    nameControl_->setPlaceholderText(items.isEmpty()       ? tr("No Item Selected")
                                     : items.size() == 1 ? tr("Name")
                                                         : tr("Multiple Names"));
    nameControl_->setModified(false);
}

void PTIconSideBarController::refreshDescription()
{
    const auto& items = this->items();
    descriptionHasChanged_ = false;
    if (items.isEmpty()) {
        informativeTextControl_->clear();
        informativeTextControl_->setPlaceholderText(tr("No Item Selected"));
        return;
    }
    if (items.size() == 1) {
        informativeTextControl_->setText(items.first()->informativeText());
        informativeTextControl_->setPlaceholderText(tr("Description"));
        return;
    }
    const auto description = sideBarFields::describe(collect(items, [](const PTItem* item) {
        return item->informativeText();
    }));
    informativeTextControl_->setText(description.text);
    informativeTextControl_->setPlaceholderText(description.placeholder);
}

void PTIconSideBarController::refreshTags()
{
    const auto& items = this->items();
    shownTags_.clear();
    tagsHaveChanged_ = false;
    if (items.isEmpty()) {
        tagsPlaceholder_ = tr("No Item Selected");
    } else {
        // Tags every item carries, by normal form, written as the last item carrying each writes it.
        QHash<QString, QString> common = items.first()->tagMap();
        bool anyTag = !common.isEmpty();
        for (const PTItem* item : items) {
            const QHash<QString, QString> tags = item->tagMap();
            anyTag = anyTag || !tags.isEmpty();
            for (auto it = common.begin(); it != common.end();) {
                const auto found = tags.constFind(it.key());
                if (found == tags.cend()) {
                    it = common.erase(it);
                } else {
                    it.value() = *found;
                    ++it;
                }
            }
        }
        shownTags_ = common.values();
        std::sort(shownTags_.begin(), shownTags_.end(), [](const QString& a, const QString& b) {
            return stringAdditions::cStringComparison(a, b) < 0;
        });
        tagsPlaceholder_ = !shownTags_.isEmpty() || items.size() == 1 || !anyTag ? tr("No Tags") : tr("Multiple Tags");
    }
    fieldTags_ = shownTags_;
    tagsControl_->setTokens(shownTags_);
    tagsControl_->setPlaceholderText(tagsPlaceholder_);
}

void PTIconSideBarController::refreshMetadata()
{
    const auto& items = this->items();
    QVector<PTItem*> dated;
    for (PTItem* item : items)
        if (item->date().isValid())
            dated.append(item);
    dateControl_->setText(sideBarFields::commonText(collect(dated, [](const PTItem* i) { return i->humanDate(); })));
    typeControl_->setText(sideBarFields::commonText(collect(items, [](const PTItem* i) { return i->typeString(); })));
    bytesControl_->setText(
        sideBarFields::commonText(collect(items, [](const PTItem* i) { return i->fileSizeString(); })));
    dimensionsControl_->setText(
        sideBarFields::commonText(collect(items, [](const PTItem* i) { return i->dimensionsString(); })));

    QStringList codes;
    for (const PTItem* item : items)
        if (!item->unicode().isEmpty() && !codes.contains(item->unicode()))
            codes << item->unicode();
    unicodeControl_->setText(codes.isEmpty()     ? QString()
                             : codes.size() == 1 ? QLatin1Char('\\') + codes.first()
                                                 : tr("Multiple"));
    unicodeView_->setVisible(!unicodeControl_->text().isEmpty());
    selectedControl_->setText(tr("%1 Items").arg(items.size()));
    numberItemsSelectedView_->setVisible(items.size() != 1);
}

void PTIconSideBarController::refreshLicence()
{
    QVector<PTLicence*> licences;
    for (const PTItem* item : items())
        licences << effectiveLicence(item);
    const auto choice = sideBarFields::chooseLicence(licences);
    licenceSegmentController_->setMultiple(choice.multiple);
    licenceSegmentController_->setLicence(choice.licence);
}

void PTIconSideBarController::scheduleLicenceRefresh()
{
    if (requestingLicenceRefresh_)
        return;
    requestingLicenceRefresh_ = true;
    pt::DispatchQueue::main().async([guard = QPointer<PTIconSideBarController>(this)] {
        if (!guard)
            return;
        guard->requestingLicenceRefresh_ = false;
        guard->refreshLicence();
    });
}

bool PTIconSideBarController::saveState(bool& gridNeedsReload)
{
    if (items().isEmpty() || !invalidItems_.isEmpty())
        return false;
    sideBarFields::showMessage(messageLabel_, QString());
    PTStoredFileMove renames;
    const bool renamed = saveName(renames);
    saveLicence();
    saveTags();
    saveDescription();
    if (!renames.isEmpty())
        renames.save([guard = QPointer<PTIconSideBarController>(this)](bool stored) {
            if (guard && !stored)
                guard->renamesWereNotStored();
        });
    if (renamed)
        gridNeedsReload = true;
    return true;
}

bool PTIconSideBarController::saveName(PTStoredFileMove& renames)
{
    const QString name = stringAdditions::trim(nameControl_->text());
    // An untouched "Multiple Names" field names nothing.
    if (name.isEmpty() && !nameControl_->isModified())
        return false;
    if (const QString problem = sideBarFields::nameProblem(name); !problem.isEmpty()) {
        sideBarFields::showMessage(messageLabel_, problem);
        return false;
    }
    bool renamed = false;
    QSet<QString> handedOut;
    for (PTItem* item : items())
        if (!item->isDeleted() && item->name() != name)
            renamed = renameItem(item, name, handedOut, renames) || renamed;
    nameControl_->setModified(false);
    return renamed;
}

bool PTIconSideBarController::renameItem(PTItem* item, const QString& name, QSet<QString>& handedOut,
                                         PTStoredFileMove& renames)
{
    PTCollection* set = item->collection();
    const QString wanted = PTSafeFileName(PTItem::formattedBaseName(name, item->type()));
    if (set && wanted != item->newFileName()) {
        // The file is linked under its new name first; the old name goes once the store names the new one.
        const QString directory = set->formattedDirectory();
        const QString fileName = PTSafeUniqueFileName(wanted, directory, &handedOut);
        const QString from = item->fileURL().toLocalFile();
        if (!PTStoredFileMove::placeInto(from, directory, fileName, PTStoredFileMove::Placement::Link)) {
            if (const auto shell = PTLibraryShell::installed())
                shell->presentAlert(tr("The icon \"%1\" could not be renamed.").arg(item->name()),
                                    tr("Its file could not be moved to \"%1\".").arg(fileName));
            return false;
        }
        const QString oldName = item->name();
        const QString oldFileName = item->newFileName();
        item->setNewFileName(fileName);
        renames.replaceOnceStored(item, from, [oldName, oldFileName](PTItem* item) {
            item->setName(oldName);
            item->setNewFileName(oldFileName);
        });
    }
    item->setName(name);
    return true;
}

void PTIconSideBarController::renamesWereNotStored()
{
    refreshName();
    sideBarFields::showMessage(messageLabel_, tr("The new name could not be saved."));
    requestGridViewUpdate();
}

void PTIconSideBarController::saveLicence()
{
    const int tag = licenceSegmentController_->selectedTag();
    if (tag != PTLicenceSideBarSegmentController::LicenceTag && tag != PTLicenceSideBarSegmentController::NoneTag)
        return;
    PTLicence* chosen = licenceSegmentController_->licence();
    for (PTItem* item : items()) {
        if (item->isDeleted() || item->licence() == chosen)
            continue;
        PTLicence* setLicence = item->collection() ? item->collection()->licence() : nullptr;
        if (!item->licence() && setLicence == chosen)
            continue;
        item->setLicence(setLicence == chosen ? nullptr : chosen);
    }
}

void PTIconSideBarController::tagsDidChange(const QStringList& tokens)
{
    fieldTags_ = tokens;
    tagsHaveChanged_ = true;
}

void PTIconSideBarController::openIn()
{
    QList<QUrl> files;
    for (const PTItem* item : items())
        files << item->fileURL();
    openInSegmentControl_->openURLs(files);
}

void PTIconSideBarController::saveTags()
{
    if (!tagsHaveChanged_)
        return;
    qsizetype bytes = 0;
    for (const QString& tag : fieldTags_) {
        if (tag.size() > MaxTagLength) {
            sideBarFields::showMessage(messageLabel_, tr("A tag cannot be longer than %1 characters.").arg(MaxTagLength));
            return;
        }
        bytes += tag.toUtf8().size() + 1;
    }
    if (bytes > MaxTagsBytes) {
        sideBarFields::showMessage(messageLabel_, tr("The tags are too long all together."));
        return;
    }
    tagsHaveChanged_ = false;
    QSet<QString> shown, typed;
    for (const QString& tag : shownTags_)
        shown.insert(stringAdditions::normalizedString(tag));
    for (const QString& tag : fieldTags_)
        typed.insert(stringAdditions::normalizedString(tag));
    if (shown == typed)
        return;
    QStringList removed, added;
    for (const QString& tag : shownTags_)
        if (!typed.contains(stringAdditions::normalizedString(tag)))
            removed << tag;
    for (const QString& tag : fieldTags_)
        if (!shown.contains(stringAdditions::normalizedString(tag)))
            added << tag;
    PTTagController::removeTagsStringsArray(removed, items());
    PTTagController::applyTagsStringArray(added, items(), false);
    shownTags_ = fieldTags_;
}

void PTIconSideBarController::saveDescription()
{
    if (!descriptionHasChanged_)
        return;
    descriptionHasChanged_ = false;
    const QString text = stringAdditions::trim(informativeTextControl_->text());
    for (PTItem* item : items())
        if (!item->isDeleted())
            item->setInformativeText(text);
}

bool PTIconSideBarController::beginEditingName()
{
    if (view() == errorView_)
        return false;
    becomePrimaryController();
    nameControl_->setFocus(Qt::OtherFocusReason);
    nameControl_->selectAll();
    return true;
}

void PTIconSideBarController::replaceIcons()
{
    const auto transfer = PTBrowserTransfer::installed();
    if (!transfer || invalidItems_.isEmpty())
        return;
    transfer->presentReplaceSheet(invalidItems_, [](const QVector<PTItem*>&) {});
}
