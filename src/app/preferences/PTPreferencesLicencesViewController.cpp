#include "app/preferences/PTPreferencesLicencesViewController.h"

#include "app/preferences/PTPreferenceLicencesDelegate.h"
#include "app/preferences/PTPreferenceLicencesModel.h"

#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTStoreFunctions.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/controls/PTTableView.h"
#include "ui/theme/PTStyles.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {
constexpr int TableHeight = 300;
}

PTPreferencesLicencesViewController::PTPreferencesLicencesViewController(QWidget* parent)
    : PTPreferencesPane(Identifier, parent),
      tableView_(new PTTableView),
      model_(new PTPreferenceLicencesModel(this)),
      delegate_(new PTPreferenceLicencesDelegate(model_, this)),
      addControl_(makeButton(QStringLiteral("+"), [this] { addLicence(); })),
      removeControl_(makeButton(QStringLiteral("\u2212"), [this] { removeSelectedLicences(); })),
      appearanceObserver_([this](int) { tableView_->viewport()->update(); })
{
    addControl_->setAccessibleName(tr("Add Licence"));
    removeControl_->setAccessibleName(tr("Remove Licence"));
    tableView_->setAccessibleName(tr("Licences"));
    tableView_->setModel(model_);
    tableView_->setItemDelegate(delegate_);
    tableView_->setFont(PTStyles::systemFont(11));
    tableView_->verticalHeader()->hide();
    tableView_->verticalHeader()->setDefaultSectionSize(20);
    tableView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView_->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    // Turning sorting on sorts once, by the indicator: that is the first load.
    tableView_->horizontalHeader()->setSortIndicator(PTPreferenceLicencesModel::NameColumn, Qt::AscendingOrder);
    tableView_->setSortingEnabled(true);
    tableView_->horizontalHeader()->setStretchLastSection(true);
    // Names often share a long start ("Creative Commons Attribution-..."): what sets them apart is at the end.
    tableView_->setTextElideMode(Qt::ElideMiddle);
    tableView_->setColumnWidth(PTPreferenceLicencesModel::NameColumn, 160);
    tableView_->setColumnWidth(PTPreferenceLicencesModel::URLColumn, 180);
    tableView_->setFixedHeight(TableHeight);
    connect(tableView_, &PTTableView::doubleClickedEmptySpace, this, &PTPreferencesLicencesViewController::addLicence);
    connect(tableView_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &PTPreferencesLicencesViewController::recheckControl);
    connect(delegate_, &QAbstractItemDelegate::closeEditor, this, &PTPreferencesLicencesViewController::editorClosed);

    auto* content = new QWidget;
    auto* rows = new QVBoxLayout(content);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->addWidget(tableView_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addControl_);
    buttons->addWidget(removeControl_);
    buttons->addStretch(1);
    rows->addLayout(buttons);
    addRow(content);
    finishRows();

    licencesObserver_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTLicenceController::LicencesDidChangeNotification, &PTLicenceController::sharedController(),
        [this](const pt::Notification&) { reloadData(); });
    recheckControl();
}

void PTPreferencesLicencesViewController::reloadData()
{
    model_->reload();
}

void PTPreferencesLicencesViewController::addLicence()
{
    PTLicence* licence = PTLicenceController::sharedController().createLicenceInContext(nullptr);
    if (!licence)
        return;
    reloadData();
    selectLicence(licence, true);
    recheckControl();
}

bool PTPreferencesLicencesViewController::selectLicence(PTLicence* licence, bool edit)
{
    const int row = licence ? model_->rowOf(licence->objectID()) : -1;
    if (row < 0)
        return false;
    const QModelIndex index = model_->index(row, PTPreferenceLicencesModel::NameColumn);
    tableView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    tableView_->scrollTo(index);
    if (edit)
        tableView_->edit(index);
    return true;
}

void PTPreferencesLicencesViewController::removeSelectedLicences()
{
    // Taking the focus ends an edit in progress, which writes it first.
    tableView_->setFocus();
    QVector<PTLicence*> licences;
    for (const QModelIndex& index : tableView_->selectionModel()->selectedRows()) {
        if (PTLicence* licence = model_->licenceAt(index.row()))
            licences.append(licence);
    }
    if (!licences.isEmpty())
        PTLicenceController::sharedController().removeLicencesWithAlert(licences);
    recheckControl();
}

void PTPreferencesLicencesViewController::recheckControl()
{
    removeControl_->setEnabled(tableView_->selectionModel()->hasSelection());
}

void PTPreferencesLicencesViewController::editorClosed(QWidget*, QAbstractItemDelegate::EndEditHint hint)
{
    if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem ||
        hint == QAbstractItemDelegate::RevertModelCache || !delegate_->lastEditChanged())
        return;
    reloadData();
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    selectLicence(context ? PTLicence::from(context->registeredObject(delegate_->lastEditedLicence())) : nullptr,
                  false);
    PTLicenceController::sharedController().notifyObserversOfDidChange();
}
