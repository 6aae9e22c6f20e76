#include "sidebar/inspector/PTSetSideBarController.h"

#include "foundation/StringAdditions.h"
#include "library/bundle/PTTernExporter.h"
#include "library/controllers/PTCollectionController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTGroup.h"
#include "library/entities/PTItem.h"
#include "library/entities/PTLicence.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/store/ObjectContext.h"
#include "sidebar/PTObjectSelectionController.h"
#include "sidebar/inspector/PTLicenceSideBarSegmentController.h"
#include "sidebar/inspector/PTSideBarFields.h"
#include "sidebar/inspector/PTSideBarSegmentController.h"
#include "ui/PTApplicationIcon.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/views/PTStackView.h"
#include "ui/views/PTStackViewSeperatorView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {

QString nameOf(pt::store::ManagedObject* object)
{
    if (auto* set = PTCollection::from(object))
        return set->name();
    if (auto* group = PTGroup::from(object))
        return group->name();
    return {};
}

QString descriptionOf(pt::store::ManagedObject* object)
{
    if (auto* set = PTCollection::from(object))
        return set->informativeText();
    if (auto* group = PTGroup::from(object))
        return group->informativeText();
    return {};
}

} // namespace

PTSetSideBarController::PTSetSideBarController(QObject* parent)
    : PTSideBarViewController(parent)
    , folderSizer_([](const QStringList& paths, folderSize::SizeCallback callback) {
        folderSize::sizeOfFoldersAtPaths(paths, std::move(callback));
    })
{
}

PTSetSideBarController::~PTSetSideBarController() = default;

QWidget* PTSetSideBarController::mainStackView() const
{
    return mainStackView_;
}

void PTSetSideBarController::controllerDidLoad()
{
    setLabel(tr("Icon Set"));
    setSaveStateResponderOptions(SavesBeforeNewCollections);

    nameControl_ = sideBarFields::makeTextField(tr("Name"));
    informativeTextControl_ = sideBarFields::makeTextField(tr("Description"));
    messageLabel_ = sideBarFields::makeMessageLabel();
    connect(nameControl_, &QLineEdit::returnPressed, this, &PTSetSideBarController::requestStateSave);
    connect(informativeTextControl_, &QLineEdit::textEdited, this, [this] { descriptionDidChange_ = true; });
    inputSegmentController_ = new PTSideBarSegmentController(QStringLiteral("sidebar.set.input"), true, this);
    inputSegmentController_->setCollapsible(false);
    inputSegmentController_->stackView()->setSpacing(10);
    inputSegmentController_->stackView()->setContentInsets(QMarginsF(20, 20, 20, 20));
    inputSegmentController_->stackView()->setViews({nameControl_, informativeTextControl_, messageLabel_});

    QWidget* iconsView = sideBarFields::makeMetaRow(tr("Icons"), &iconsField_);
    dateView_ = sideBarFields::makeMetaRow(tr("Date"), &dateField_);
    QWidget* sizeView = sideBarFields::makeMetaRow(tr("Size"), &sizeField_);
    selectionView_ = sideBarFields::makeMetaRow(tr("Sets"), &selectionField_);
    exportControl_ = new PTToolbarSegmentedControl;
    exportControl_->setSegmentCount(1);
    exportControl_->setAutoColorsIcons(false);
    exportControl_->setSublabeledFromMenus(true);
    exportControl_->setLabel(tr("Export"), 0);
    exportControl_->setSublabel(tr("Pictern..."), 0);
    exportControl_->setAutoCentersLabel(true);
    exportControl_->setImage(PTApplicationIcon::image(16), 0);
    connect(exportControl_, &PTToolbarSegmentedControl::action, this, [this] {
        if (pt::store::ManagedObject* object = singularObject())
            PTTernExporter::exportManagedObject(object);
    });
    auto* exportView = new QWidget;
    exportView->setAccessibleName(tr("Export"));
    auto* exportRow = new QHBoxLayout(exportView);
    exportRow->setContentsMargins(0, 6, 0, 0);
    exportRow->addWidget(exportControl_);
    exportView->resize(exportView->sizeHint());
    infoSegmentController_ = new PTSideBarSegmentController(QStringLiteral("sidebar.set.info"), true, this);
    infoSegmentController_->setTitle(tr("Set Info"));
    infoSegmentController_->stackView()->setSpacing(3);
    infoSegmentController_->stackView()->setContentInsets(QMarginsF(20, 0, 20, 15));
    infoSegmentController_->stackView()->setViews({iconsView, dateView_, sizeView, selectionView_, exportView});

    licenceSegmentController_ = new PTLicenceSideBarSegmentController(this);
    connect(licenceSegmentController_, &PTLicenceSideBarSegmentController::licencePicked, this,
            &PTSetSideBarController::requestStateSave);

    mainStackView_ = new PTStackView;
    mainStackView_->setAccessibleName(tr("Selected sets"));
    mainStackView_->resize(200, 200);
    mainStackView_->setSpacerView(new PTStackViewSeperatorView);
    mainStackView_->setViews({inputSegmentController_->view(), infoSegmentController_->view(),
                              licenceSegmentController_->view()});
    adopt(mainStackView_);

    noSelectionView_ = new QWidget;
    noSelectionView_->setAccessibleName(tr("No set selected"));
    auto* empty = new QVBoxLayout(noSelectionView_);
    auto* label = new QLabel(tr("No Selection"));
    label->setAccessibleName(label->text());
    label->setAlignment(Qt::AlignCenter);
    empty->addWidget(label);
    setView(noSelectionView_);
}

bool PTSetSideBarController::wantsAutoSizedView() const
{
    return view() == noSelectionView_;
}

pt::store::ManagedObject* PTSetSideBarController::singularObject() const
{
    return topLevelGroupsAndCollections().size() == 1 ? topLevelGroupsAndCollections().first() : nullptr;
}

void PTSetSideBarController::willReceiveTopLevelGroupsAndCollections()
{
    nameObservation_.reset();
}

void PTSetSideBarController::didReceiveTopLevelGroupsAndCollections()
{
    becomePrimaryController();
    pt::store::ManagedObject* object = singularObject();
    if (object && object->context())
        nameObservation_ = object->context()->observe(object, QStringLiteral("name"),
                                                      [this](pt::store::ManagedObject*, const QString&) {
                                                          refreshName();
                                                      });
}

void PTSetSideBarController::didReceiveNewCollections()
{
    const auto& topLevel = topLevelGroupsAndCollections();
    objectSelectionMask_ = PTObjectSelectionController::selectionMaskForItems(topLevel);
    const auto* singularSet = PTCollection::from(singularObject());
    licenceSegmentController_->setEnabled(objectSelectionMask_ != 0 && !(singularSet && !singularSet->allowsLicence()));
    const int shown = collections().size();
    setLabel(shown < 2 ? tr("Icon Set") : tr("Icon Sets"));
    setView(objectSelectionMask_ != 0 || shown > 0 ? mainStackView_ : noSelectionView_);
    infoSegmentController_->setTitle(shown < 2 ? tr("Set Info") : tr("Sets Info"));
    exportControl_->setEnabled(topLevel.size() == 1);
    sideBarFields::showMessage(messageLabel_, QString());
    refreshName();
    refreshDescription();
    refreshFacts();
    refreshSize();
    refreshLicence();
}

void PTSetSideBarController::refreshName()
{
    pt::store::ManagedObject* object = singularObject();
    nameControl_->setText(object ? nameOf(object) : QString());
    nameControl_->setPlaceholderText(object ? tr("Name") : tr("Multiple Names"));
    nameControl_->setEnabled(object != nullptr);
    nameControl_->setModified(false);
}

void PTSetSideBarController::refreshDescription()
{
    descriptionDidChange_ = false;
    QStringList descriptions;
    for (pt::store::ManagedObject* object : topLevelGroupsAndCollections())
        descriptions << descriptionOf(object);
    const auto description = descriptions.size() == 1 ? sideBarFields::Description{descriptions.first(), tr("Description")}
                                                      : sideBarFields::describe(descriptions);
    informativeTextControl_->setText(description.text);
    informativeTextControl_->setPlaceholderText(description.placeholder);
}

void PTSetSideBarController::refreshFacts()
{
    const auto& sets = collections();
    selectionField_->setText(tr("%1 Sets").arg(sets.size()));
    selectionView_->setVisible(sets.size() != 1);
    QStringList dates;
    qsizetype icons = 0;
    for (const PTCollection* set : sets) {
        if (set->date().isValid())
            dates << set->humanDate();
        icons += set->items().size();
    }
    dateField_->setText(sets.size() == 1 ? sets.first()->humanDate() : sideBarFields::commonText(dates));
    dateView_->setVisible(!dateField_->text().isEmpty());
    iconsField_->setText(tr("%1 %2").arg(icons).arg(icons == 1 ? tr("Icon") : tr("Icons")));
}

void PTSetSideBarController::refreshSize()
{
    sizeField_->setText(tr("Calculating"));
    QStringList paths;
    for (PTCollection* set : collections())
        paths << set->formattedDirectory();
    const quint64 request = ++sizeRequest_;
    folderSizer_(paths, [guard = QPointer<PTSetSideBarController>(this), request](quint64 bytes) {
        // A total for sets no longer shown is dropped.
        if (guard && guard->sizeRequest_ == request)
            guard->sizeField_->setText(PTItem::fileSizeString(qint64(bytes)));
    });
}

void PTSetSideBarController::refreshLicence()
{
    QVector<PTLicence*> licences;
    for (const PTCollection* set : collections())
        licences << set->licence();
    const auto choice = sideBarFields::chooseLicence(licences);
    licenceSegmentController_->setMultiple(choice.multiple);
    licenceSegmentController_->setLicence(choice.licence);
}

bool PTSetSideBarController::saveState(bool& gridNeedsReload)
{
    sideBarFields::showMessage(messageLabel_, QString());
    const bool licenceChanged = saveLicence();
    const bool descriptionChanged = saveDescription();
    pt::store::ManagedObject* object = singularObject();
    if (!licenceChanged && !descriptionChanged && !object)
        return false;
    if (object && object->isDeleted())
        return false;
    const bool nameChanged = object && saveName(object);
    const bool changed = nameChanged || licenceChanged || descriptionChanged;
    if (!object || !changed)
        return changed;
    QVariantList updated{QVariant::fromValue(object)};
    pt::NotificationCenter::defaultCenter().post(PTCollectionController::CollectionsDidUpdateNotification,
                                                 &PTCollectionController::sharedController(),
                                                 {{PTCollectionController::ItemsKey, updated}});
    gridNeedsReload = true;
    return true;
}

bool PTSetSideBarController::saveName(pt::store::ManagedObject* object)
{
    const QString name = stringAdditions::trim(nameControl_->text());
    if (name == nameOf(object) || (name.isEmpty() && !nameControl_->isModified()))
        return false;
    if (const QString problem = sideBarFields::nameProblem(name); !problem.isEmpty()) {
        sideBarFields::showMessage(messageLabel_, problem);
        return false;
    }
    if (auto* set = PTCollection::from(object)) {
        set->setName(name);
        PTCollectionController::sharedController().commitRenameOfCollection(set);
    } else if (auto* group = PTGroup::from(object)) {
        group->setName(name);
    }
    nameControl_->setModified(false);
    return true;
}

bool PTSetSideBarController::saveLicence()
{
    const int tag = licenceSegmentController_->selectedTag();
    if (tag != PTLicenceSideBarSegmentController::LicenceTag && tag != PTLicenceSideBarSegmentController::NoneTag)
        return false;
    PTLicence* chosen = licenceSegmentController_->licence();
    bool changed = false;
    for (PTCollection* set : collections()) {
        if (set->isDeleted() || set->licence() == chosen)
            continue;
        if (!set->allowsLicence()) {
            // It may carry none; one it has from an older library goes.
            if (set->licence()) {
                set->setLicence(nullptr);
                changed = true;
            }
            continue;
        }
        set->setLicence(chosen);
        changed = true;
    }
    return changed;
}

bool PTSetSideBarController::saveDescription()
{
    if (!descriptionDidChange_)
        return false;
    descriptionDidChange_ = false;
    const QString text = stringAdditions::trim(informativeTextControl_->text());
    for (pt::store::ManagedObject* object : topLevelGroupsAndCollections()) {
        if (auto* set = PTCollection::from(object))
            set->setInformativeText(text);
        else if (auto* group = PTGroup::from(object))
            group->setInformativeText(text);
    }
    return true;
}
