#include "browser/views/PTToolbarFilterControl.h"

#include "browser/PTBrowserShell.h"
#include "browser/controller/ItemFilter.h"
#include "foundation/MenuAdditions.h"
#include "foundation/StringAdditions.h"
#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTLicence.h"
#include "library/store/PTCDAdditions.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"

#include <QActionGroup>
#include <QMenu>
#include <QPointer>

#include <algorithm>

const QString PTToolbarFilterControl::TypeSelectionKey = QStringLiteral("PTToolbarTypeSelectionKey");
const QString PTToolbarFilterControl::LicenceSelectionKey = QStringLiteral("PTToolbarLicenceSelectionKey");

namespace {

struct TypeEntry {
    const char* title;
    qint64 tag;
    int indent;
};

// Tag 0 marks a separator.
constexpr TypeEntry TypeEntries[] = {
    {"All", itemFilter::AllTypes, 0}, {nullptr, 0, 0},
    {"Vector", itemFilter::Vector, 0}, {"SVG", itemFilter::SVG, 1},
    {"PDF", itemFilter::PDF, 1},       {"Font", itemFilter::Font, 1},
    {nullptr, 0, 0},
    {"Bitmap", itemFilter::Bitmap, 0}, {"GIF", itemFilter::GIF, 1},
    {"PNG", itemFilter::PNG, 1},       {"WEBP", itemFilter::WEBP, 1},
    {"ICNS", itemFilter::ICNS, 1},     {"ICO", itemFilter::ICO, 1},
};

qint64 storedType()
{
    const qint64 tag = pt::Defaults::standard().integerForKey(PTToolbarFilterControl::TypeSelectionKey);
    return tag == 0 ? itemFilter::AllTypes : tag;
}

PTLicence* storedLicence()
{
    const QString uri = pt::Defaults::standard().stringForKey(PTToolbarFilterControl::LicenceSelectionKey);
    return uri.isEmpty() ? nullptr : PTLicenceController::sharedController().licenceForObjectURLString(uri);
}

} // namespace

PTToolbarFilterControl::PTToolbarFilterControl(QWidget* parent)
    : PTToolbarSegmentedControl(parent),
      menu_(new QMenu(this)),
      typeMenu_(new QMenu(tr("Filter by Type"), menu_)),
      licenceMenu_(new QMenu(tr("Filter by License"), menu_)),
      typeGroup_(new QActionGroup(this)),
      licenceGroup_(new QActionGroup(this))
{
    setSegmentCount(1);
    setAutoColorsIcons(false);
    setLabel(tr("Filter"), 0);
    setMenu(menu_, 0);
    setAutoCalculatesFrame(true);
    buildTypeMenu();
    menu_->addMenu(typeMenu_);
    menu_->addMenu(licenceMenu_);
    licencesObserver_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTLicenceController::LicencesDidChangeNotification, &PTLicenceController::sharedController(),
        [guard = QPointer(this)](const pt::Notification&) {
            if (guard)
                guard->reloadLicensesAndSelect();
        });
    reloadLicenses();
    selectLicense(storedLicence(), false);
    setSelectedSegment(hasActiveFilter() ? 0 : -1);
    // The toolbar's type switch writes the same choice: the menu and the grid follow it at once.
    connect(&pt::Defaults::standard(), &pt::Defaults::changed, this, [this](const QString& key) {
        if (key == TypeSelectionKey && storedType() != type()) {
            selectType(storedType());
            didChange();
        }
    });
}

PTToolbarFilterControl::~PTToolbarFilterControl() = default;

void PTToolbarFilterControl::buildTypeMenu()
{
    for (const TypeEntry& entry : TypeEntries) {
        if (!entry.title) {
            typeMenu_->addSeparator();
            continue;
        }
        // Menus here have no indentation level: sub-types are set in by spaces.
        const QString indent(entry.indent * 4, QLatin1Char(' '));
        QAction* action = typeMenu_->addAction(indent + QString::fromLatin1(entry.title));
        action->setData(entry.tag);
        action->setCheckable(true);
        typeGroup_->addAction(action);
        connect(action, &QAction::triggered, this, [this, action] { changeTypeFilter(action); });
    }
    selectType(storedType());
}

void PTToolbarFilterControl::reloadLicenses()
{
    licenceMenu_->clear();
    licences_.clear();
    const auto addEntry = [this](const QString& title, int tag, PTLicence* licence) {
        QAction* action = licenceMenu_->addAction(title);
        action->setData(tag);
        action->setCheckable(tag != ManageLicences);
        if (tag == ManageLicences) {
            connect(action, &QAction::triggered, this, &PTToolbarFilterControl::manageLicences);
            return;
        }
        licenceGroup_->addAction(action);
        licences_.insert(action, licence);
        connect(action, &QAction::triggered, this, [this, action] { changeLicenseFilter(action); });
    };
    addEntry(tr("All"), AllLicences, nullptr);
    licenceMenu_->addSeparator();
    QVector<PTLicence*> named;
    for (PTLicence* licence : PTLicenceController::sharedController().licences()) {
        if (!licence->isDeleted() && !stringAdditions::trim(licence->name()).isEmpty())
            named.append(licence);
    }
    std::sort(named.begin(), named.end(), [](PTLicence* a, PTLicence* b) {
        return QString::compare(a->name(), b->name(), Qt::CaseInsensitive) < 0;
    });
    for (PTLicence* licence : named)
        addEntry(menuAdditions::itemTitle(licence->name()), OneLicence, licence);
    licenceMenu_->addSeparator();
    addEntry(tr("Manage Licenses..."), ManageLicences, nullptr);
}

void PTToolbarFilterControl::reloadLicensesAndSelect()
{
    reloadLicenses();
    if (!pt::Defaults::standard().stringForKey(LicenceSelectionKey).isEmpty())
        selectLicense(storedLicence(), true);
}

qint64 PTToolbarFilterControl::type() const
{
    const QAction* checked = typeGroup_->checkedAction();
    return checked ? checked->data().toLongLong() : itemFilter::AllTypes;
}

PTLicence* PTToolbarFilterControl::license() const
{
    return licences_.value(licenceGroup_->checkedAction());
}

bool PTToolbarFilterControl::hasActiveFilter() const
{
    return license() || type() != itemFilter::AllTypes;
}

void PTToolbarFilterControl::clear()
{
    pt::DispatchQueue::main().async([guard = QPointer(this)] {
        if (!guard)
            return;
        guard->typeGroup_->actions().constFirst()->trigger();
        guard->licenceGroup_->actions().constFirst()->trigger();
    });
}

void PTToolbarFilterControl::changeTypeFilter(QAction* entry)
{
    const qint64 tag = entry->data().toLongLong();
    // Marked first, so that the write is not heard back as another writer's choice.
    selectType(tag);
    pt::Defaults::standard().set(TypeSelectionKey, tag);
    didChange();
}

void PTToolbarFilterControl::changeLicenseFilter(QAction* entry)
{
    PTLicence* licence = licences_.value(entry);
    if (licence)
        pt::Defaults::standard().set(LicenceSelectionKey, PTCDAdditions::persistentURLString(licence));
    else
        pt::Defaults::standard().remove(LicenceSelectionKey);
    selectLicense(licence, false);
    didChange();
}

void PTToolbarFilterControl::manageLicences()
{
    if (const auto shell = PTBrowserShell::installed())
        shell->presentPreferences(QStringLiteral("licenses"));
}

void PTToolbarFilterControl::selectType(qint64 tag)
{
    for (QAction* action : typeGroup_->actions())
        action->setChecked(action->data().toLongLong() == tag);
}

void PTToolbarFilterControl::selectLicense(PTLicence* licence, bool checkDeleted)
{
    if (checkDeleted && (!licence || licence->isDeleted())) {
        changeLicenseFilter(licenceGroup_->actions().constFirst());
        return;
    }
    for (QAction* action : licenceGroup_->actions())
        action->setChecked(licences_.value(action) == licence);
}

void PTToolbarFilterControl::didChange()
{
    setSelectedSegment(hasActiveFilter() ? 0 : -1);
    if (changeHandler_)
        changeHandler_();
}
