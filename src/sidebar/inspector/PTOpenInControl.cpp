#include "sidebar/inspector/PTOpenInControl.h"

#include "foundation/MenuAdditions.h"
#include "foundation/PTUtils.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/Defaults.h"
#include "sidebar/inspector/PTOpenInApplicationChooser.h"
#include "ui/controls/PTSidebarSegmentedControl.h"

#include <QApplication>
#include <QCollator>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>

#include <algorithm>
#include <set>

const QString PTOpenInControl::CustomURLsKey = QStringLiteral("kPTOpenInControlCustomURLs");
const QString PTOpenInControl::BundleIdentifierKey = QStringLiteral("kPTOpenInControlundleIdentifier");
const QString PTOpenInControl::OwnIdentifier = QStringLiteral("com.pictern.Pictern.desktop");

namespace {

constexpr qreal IconSpacing = 9;
constexpr int MenuIconSize = 16;

QString extensionOf(const QUrl& url)
{
    return QFileInfo(url.path()).suffix();
}

// The applications the desktop offers for the URL, by desktop id: named ones other than this application.
std::set<QString> identifiersForURL(const QUrl& url)
{
    std::set<QString> identifiers;
    for (const PTApplicationInfo& application : PTApplicationURLsForURL(url)) {
        if (!application.identifier.isEmpty() && application.identifier != PTOpenInControl::OwnIdentifier &&
            !application.name.isEmpty())
            identifiers.insert(application.identifier);
    }
    return identifiers;
}

QString defaultIdentifierFor(const QUrl& url)
{
    const std::optional<PTApplicationInfo> application = PTDefaultApplicationURLForURL(url);
    return application ? application->identifier : QString();
}

} // namespace

PTOpenInControl::PTOpenInControl(QWidget* parent)
    : PTBrowserSidebar::OpenInControl(parent), control_(new PTSidebarSegmentedControl(this))
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control_);
    setFocusProxy(control_);

    cleanCustomApplications();
    control_->setAutoCentersLabel(true);
    control_->setAutoColorsIcons(false);
    control_->setSegmentCount(1);
    control_->setIconSpacing(IconSpacing);
    control_->setLabel(tr("Open in"), 0);
    control_->setSublabeledFromMenus(true);
    // A long application name keeps its start.
    control_->setLabelElideMode(Qt::ElideRight);
    control_->setAccessibleName(tr("Open in"));
    setAccessibleName(tr("Open in"));
    connect(control_, &PTToolbarSegmentedControl::action, this, [this] { open(); });
    computeMenu();
}

PTOpenInControl::~PTOpenInControl()
{
    delete menu_;
}

void PTOpenInControl::setFileURLs(const QList<QUrl>& urls)
{
    fileURLs_ = urls;
    computeMenu();
}

QString PTOpenInControl::selectedApplication() const
{
    if (!menu_)
        return {};
    for (QAction* item : menu_->actions()) {
        if (item->isChecked())
            return item->data().toString();
    }
    return {};
}

bool PTOpenInControl::openURLs(const QList<QUrl>& urls) const
{
    const QString application = selectedApplication();
    if (application.isEmpty() || urls.isEmpty()) {
        QApplication::beep();
        return false;
    }
    // The name the menu shows, which stays known when the application has gone since.
    const QAction* item = itemForBundle(application);
    return openURLsInApplication(urls, application, item ? item->text() : QString());
}

bool PTOpenInControl::openURLsInApplication(const QList<QUrl>& urls, const QString& application, const QString& name)
{
    QString reason;
    if (PTUtils::openURLs(urls, application, &reason))
        return true;
    QApplication::beep();
    QString shownName = name;
    if (shownName.isEmpty()) {
        const std::optional<PTApplicationInfo> info = PTUtils::applicationForIdentifier(application);
        shownName = info && !info->name.isEmpty() ? info->name : application;
    }
    if (const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed())
        shell->postNotice(LaunchFailedTitle, LaunchFailedMessage.arg(shownName, reason).trimmed());
    return false;
}

void PTOpenInControl::computeMenu()
{
    delete menu_;
    if (fileURLs_.isEmpty()) {
        control_->setEnabled(false);
        control_->setMenu(nullptr, 0);
        control_->setSublabel(tr("N/A"), 0);
        control_->setImage({}, 0);
        return;
    }
    control_->setEnabled(true);
    control_->setSublabel({}, 0);

    // Only the applications reported for every file; once the common set is empty it stays empty.
    std::set<QString> common = identifiersForURL(fileURLs_.first());
    for (qsizetype i = 1; i < fileURLs_.size() && !common.empty(); ++i) {
        const std::set<QString> next = identifiersForURL(fileURLs_[i]);
        std::set<QString> kept;
        std::set_intersection(common.begin(), common.end(), next.begin(), next.end(),
                              std::inserter(kept, kept.begin()));
        common = std::move(kept);
    }
    for (const QString& identifier : customIdentifiers())
        common.insert(identifier);

    QList<PTApplicationInfo> candidates;
    for (const QString& identifier : common) {
        std::optional<PTApplicationInfo> application = PTUtils::applicationForIdentifier(identifier);
        if (application && !application->name.isEmpty() && application->identifier != OwnIdentifier)
            candidates.append(*application);
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [&collator](const PTApplicationInfo& a, const PTApplicationInfo& b) {
                         return collator.compare(a.name, b.name) < 0;
                     });

    const QString defaultIdentifier = defaultIdentifierFor(fileURLs_.first());
    QString remembered = pt::Defaults::standard().stringForKey(BundleIdentifierKey);
    if (remembered.isEmpty())
        remembered = defaultIdentifier;

    menu_ = new QMenu(this);
    menu_->setAccessibleName(tr("Open in"));
    connect(menu_, &QMenu::aboutToShow, this, &PTOpenInControl::loadIcons);
    QAction* toSelect = nullptr;
    for (const PTApplicationInfo& application : candidates) {
        auto* item = new QAction(menuAdditions::itemTitle(application.name), menu_);
        item->setCheckable(true);
        item->setData(application.identifier);
        connect(item, &QAction::triggered, this, [this, item] { selectApplicationFromMenuItem(item); });
        if (application.identifier == defaultIdentifier) {
            const QList<QAction*> items = menu_->actions();
            QAction* first = items.isEmpty() ? nullptr : items.first();
            menu_->insertAction(first, item);
            menu_->insertSeparator(first);
        } else {
            menu_->addAction(item);
        }
        if (!toSelect && application.identifier == remembered)
            toSelect = item;
    }
    menu_->addSeparator();
    QAction* other = menu_->addAction(tr("Other..."));
    connect(other, &QAction::triggered, this, &PTOpenInControl::selectOtherApplication);
    control_->setMenu(menu_, 0);

    if (!toSelect) {
        QStringList defaults;
        for (const QUrl& url : fileURLs_)
            defaults << defaultIdentifierFor(url);
        for (QAction* item : menu_->actions()) {
            const QString identifier = item->data().toString();
            if (!identifier.isEmpty() && (identifier == defaultIdentifier || defaults.contains(identifier))) {
                toSelect = item;
                break;
            }
        }
    }
    // With no application listed the first item is a separator: nothing gets ticked.
    selectApplication(toSelect ? toSelect : menu_->actions().first(), false);
}

QAction* PTOpenInControl::itemForBundle(const QString& identifier) const
{
    if (!menu_)
        return nullptr;
    for (QAction* item : menu_->actions()) {
        if (!item->isSeparator() && item->data().toString() == identifier)
            return item;
    }
    return nullptr;
}

void PTOpenInControl::selectApplicationFromMenuItem(QAction* item)
{
    selectApplication(item, true);
    control_->performClick(0);
}

void PTOpenInControl::selectApplication(QAction* item, bool storeResult)
{
    if (!item)
        return;
    if (menu_) {
        for (QAction* each : menu_->actions())
            each->setChecked(false);
    }
    // Separators and "Other..." are not checkable: ticking one leaves nothing chosen.
    item->setChecked(item->isCheckable());
    control_->updateLabelForSegment(0);
    const QString identifier = item->data().toString();
    if (identifier.isEmpty()) {
        control_->setSublabel({}, 0);
        control_->setImage({}, 0);
        return;
    }
    control_->setSublabel(menuAdditions::shownTitle(item->text()), 0);
    const std::optional<PTApplicationInfo> application = PTUtils::applicationForIdentifier(identifier);
    const QIcon icon = application ? PTOpenInApplicationChooser::iconForApplication(*application) : QIcon();
    control_->setImage(icon.isNull() ? QImage() : icon.pixmap(MenuIconSize, MenuIconSize).toImage(), 0);
    if (storeResult)
        pt::Defaults::standard().set(BundleIdentifierKey, identifier);
}

void PTOpenInControl::selectOtherApplication()
{
    QStringList listed{OwnIdentifier};
    if (menu_) {
        for (QAction* item : menu_->actions()) {
            if (!item->data().toString().isEmpty())
                listed << item->data().toString();
        }
    }
    QList<PTApplicationInfo> offered;
    for (const PTApplicationInfo& application : PTUtils::allApplications()) {
        if (!application.name.isEmpty() && !listed.contains(application.identifier))
            offered.append(application);
    }
    const std::optional<PTApplicationInfo> chosen = PTOpenInApplicationChooser::choose(offered, window());
    if (!chosen)
        return;
    addCustomApplication(*chosen);
    computeMenu();
    if (QAction* item = itemForBundle(chosen->identifier))
        selectApplicationFromMenuItem(item);
}

void PTOpenInControl::addCustomApplication(const PTApplicationInfo& application)
{
    if (application.name.isEmpty() || application.identifier.isEmpty())
        return;
    pt::Defaults& defaults = pt::Defaults::standard();
    QVariantMap custom = defaults.dictionaryForKey(CustomURLsKey);
    for (const QUrl& url : fileURLs_) {
        const QString extension = extensionOf(url);
        QStringList identifiers = custom.value(extension).toStringList();
        if (!identifiers.contains(application.identifier))
            identifiers << application.identifier;
        custom.insert(extension, identifiers);
    }
    defaults.set(CustomURLsKey, custom);
    defaults.synchronize();
}

QStringList PTOpenInControl::customIdentifiers() const
{
    const QVariantMap custom = pt::Defaults::standard().dictionaryForKey(CustomURLsKey);
    QStringList identifiers;
    QStringList seen;
    for (const QUrl& url : fileURLs_) {
        const QString extension = extensionOf(url);
        if (seen.contains(extension))
            continue;
        seen << extension;
        for (const QString& identifier : custom.value(extension).toStringList()) {
            if (!identifiers.contains(identifier))
                identifiers << identifier;
        }
    }
    return identifiers;
}

void PTOpenInControl::cleanCustomApplications()
{
    pt::Defaults& defaults = pt::Defaults::standard();
    const QVariant stored = defaults.objectForKey(CustomURLsKey);
    if (stored.typeId() != QMetaType::QVariantMap)
        return;
    QVariantMap cleaned;
    const QVariantMap custom = stored.toMap();
    for (auto it = custom.cbegin(); it != custom.cend(); ++it) {
        const QStringList identifiers = it.value().toStringList();
        if (identifiers.isEmpty())
            continue;
        QStringList kept;
        for (const QString& identifier : identifiers) {
            if (PTUtils::applicationForIdentifier(identifier))
                kept << identifier;
        }
        cleaned.insert(it.key(), kept);
    }
    defaults.set(CustomURLsKey, cleaned);
}

void PTOpenInControl::loadIcons()
{
    if (!menu_)
        return;
    for (QAction* item : menu_->actions()) {
        const QString identifier = item->data().toString();
        if (identifier.isEmpty() || !item->icon().isNull())
            continue;
        if (const std::optional<PTApplicationInfo> application = PTUtils::applicationForIdentifier(identifier))
            item->setIcon(PTOpenInApplicationChooser::iconForApplication(*application));
    }
}
