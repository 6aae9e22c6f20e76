#include "sidebar/inspector/PTLicenceSideBarSegmentController.h"

#include "browser/PTBrowserShell.h"
#include "foundation/MenuAdditions.h"
#include "foundation/StringAdditions.h"
#include "library/controllers/PTLicenceController.h"
#include "library/entities/PTLicence.h"
#include "platform/runtime/Defaults.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/controls/PTToolbarSegmentedControl.h"
#include "ui/views/PTStackView.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QMenu>
#include <QSignalBlocker>

#include <algorithm>

namespace {

const char* const LicenceProperty = "licence";

PTLicence* licenceOf(const QAction* entry)
{
    return static_cast<PTLicence*>(entry->property(LicenceProperty).value<void*>());
}

} // namespace

PTLicenceSideBarSegmentController::PTLicenceSideBarSegmentController(QObject* parent)
    : PTSideBarSegmentController(Identifier, true, parent)
{
    setTitle(tr("License"));
    licenceControl_ = new PTSheetViewPopupButton;
    connect(licenceControl_, &PTSheetViewPopupButton::itemSelected, this,
            &PTLicenceSideBarSegmentController::entryChosen);

    moreInfoContainerView_ = new QWidget;
    moreInfoContainerView_->setAccessibleName(tr("More information about the license"));
    moreInfoButton_ = new PTToolbarSegmentedControl(moreInfoContainerView_);
    moreInfoButton_->setSegmentCount(1);
    moreInfoButton_->setSublabeledFromMenus(true);
    moreInfoButton_->setSublabel(QString(), 0);
    moreInfoButton_->setLabel(tr("More Info"), 0);
    moreInfoButton_->setAutoCentersLabel(true);
    connect(moreInfoButton_, &PTToolbarSegmentedControl::action, this, [this] {
        const QUrl url = moreInfoURL(licence_);
        if (!url.isEmpty())
            QDesktopServices::openUrl(url);
    });
    auto* row = new QHBoxLayout(moreInfoContainerView_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(moreInfoButton_);

    stackView()->setContentInsets(QMarginsF(20, 0, 20, 20));
    stackView()->setSpacing(10);
    stackView()->setViews({licenceControl_, moreInfoContainerView_});

    licencesDidChange_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTLicenceController::LicencesDidChangeNotification, nullptr, [this](const pt::Notification&) { reload(); });
    // Folding the section in one pane folds it in the other.
    connect(&pt::Defaults::standard(), &pt::Defaults::changed, this, [this](const QString& key) {
        if (key == defaultsKey())
            reloadFromDefaults();
    });
    reload();
}

QUrl PTLicenceSideBarSegmentController::moreInfoURL(const PTLicence* licence)
{
    if (!licence)
        return {};
    const QUrl url = licence->validatedURL();
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ? url : QUrl();
}

void PTLicenceSideBarSegmentController::setLicence(PTLicence* licence)
{
    licence_ = licence;
    visuallyReselectLicence();
}

void PTLicenceSideBarSegmentController::setMultiple(bool multiple)
{
    multiple_ = multiple;
    reload();
}

void PTLicenceSideBarSegmentController::setEnabled(bool enabled)
{
    licenceControl_->setEnabled(enabled);
}

int PTLicenceSideBarSegmentController::selectedTag() const
{
    if (!menu_)
        return NoTag;
    for (const QAction* entry : menu_->actions())
        if (entry->isChecked())
            return entry->data().toInt();
    return NoTag;
}

void PTLicenceSideBarSegmentController::reload()
{
    QVector<PTLicence*> licences = PTLicenceController::sharedController().licences();
    if (!licences.contains(licence_))
        licence_ = nullptr;
    licences.erase(std::remove_if(licences.begin(), licences.end(),
                                  [](PTLicence* licence) { return PTStringIsBlank(licence->name()); }),
                   licences.end());
    std::sort(licences.begin(), licences.end(), [](PTLicence* a, PTLicence* b) {
        return a->name().compare(b->name(), Qt::CaseInsensitive) < 0;
    });

    auto* menu = new QMenu(licenceControl_);
    menu->setAccessibleName(tr("Licenses"));
    const auto add = [menu](const QString& title, int tag, PTLicence* licence) {
        QAction* entry = menu->addAction(title);
        entry->setData(tag);
        entry->setCheckable(true);
        entry->setProperty(LicenceProperty, QVariant::fromValue<void*>(licence));
        return entry;
    };
    for (PTLicence* licence : licences)
        add(menuAdditions::itemTitle(licence->name()), LicenceTag, licence);
    menu->addSeparator();
    add(tr("None"), NoneTag, nullptr);
    if (multiple_) {
        menu->addSeparator();
        add(tr("Multiple"), MultipleTag, nullptr)->setEnabled(false);
    }
    menu->addSeparator();
    QAction* manage = add(tr("Manage Licenses..."), ManageTag, nullptr);
    manage->setCheckable(false);

    QMenu* old = menu_;
    menu_ = menu;
    {
        const QSignalBlocker quiet(licenceControl_);
        licenceControl_->setPopupMenu(menu);
    }
    if (old)
        old->deleteLater();
    visuallyReselectLicence();
}

void PTLicenceSideBarSegmentController::visuallyReselectLicence()
{
    QAction* shown = nullptr;
    for (QAction* entry : menu_->actions()) {
        if (entry->isSeparator())
            continue;
        const int tag = entry->data().toInt();
        const bool match = multiple_ ? tag == MultipleTag
                                     : (tag == LicenceTag || tag == NoneTag) && licenceOf(entry) == licence_;
        if (match && !shown)
            shown = entry;
    }
    for (QAction* entry : menu_->actions())
        entry->setChecked(entry == shown);
    {
        const QSignalBlocker quiet(licenceControl_);
        licenceControl_->selectItem(shown);
    }
    licenceControl_->setAccessibleName(
        tr("License: %1").arg(shown ? menuAdditions::shownTitle(shown->text()) : QString()));
    computeButton();
}

void PTLicenceSideBarSegmentController::entryChosen(QAction* entry)
{
    if (!entry)
        return;
    const int tag = entry->data().toInt();
    if (tag == ManageTag) {
        manageLicences();
        return;
    }
    if (tag != LicenceTag && tag != NoneTag)
        return;
    licence_ = licenceOf(entry);
    for (QAction* other : menu_->actions())
        other->setChecked(other == entry);
    licenceControl_->setAccessibleName(tr("License: %1").arg(menuAdditions::shownTitle(entry->text())));
    emit licencePicked();
    if (multiple_) {
        multiple_ = false;
        reload();
    }
    computeButton();
}

void PTLicenceSideBarSegmentController::manageLicences()
{
    visuallyReselectLicence();
    if (const auto shell = PTBrowserShell::installed())
        shell->presentPreferences(PreferencesPane);
}

void PTLicenceSideBarSegmentController::computeButton()
{
    moreInfoContainerView_->setVisible(!multiple_ && !moreInfoURL(licence_).isEmpty());
}
