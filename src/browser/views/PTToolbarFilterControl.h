#pragma once

#include "platform/runtime/NotificationCenter.h"
#include "ui/controls/PTToolbarSegmentedControl.h"

#include <QHash>

#include <functional>

class PTLicence;
class QAction;
class QActionGroup;

// The toolbar's one-segment filter: its menu filters the grid by file type and by licence. Both choices are
// remembered in the defaults, the segment shows selected while a filter is active, and every change calls the
// change handler once. A type choice stored by another control (the toolbar's type switch) is taken up at once.
class PTToolbarFilterControl : public PTToolbarSegmentedControl {
    Q_OBJECT
public:
    static const QString TypeSelectionKey;    // "PTToolbarTypeSelectionKey"
    static const QString LicenceSelectionKey; // "PTToolbarLicenceSelectionKey"
    // Tags of the licence entries.
    enum LicenceTag { AllLicences = 0, OneLicence = 1, ManageLicences = 2 };

    explicit PTToolbarFilterControl(QWidget* parent = nullptr);
    ~PTToolbarFilterControl() override;

    // The tag of the checked type entry; 1 (all types) when none is.
    qint64 type() const;
    // The checked licence; null for "All".
    PTLicence* license() const;
    bool hasActiveFilter() const;
    // Resets both filters, a turn of the main queue later, with one change each.
    void clear();

    void changeTypeFilter(QAction* entry);
    void changeLicenseFilter(QAction* entry);
    void manageLicences();

    void setChangeHandler(std::function<void()> handler) { changeHandler_ = std::move(handler); }
    QMenu* typeMenu() const { return typeMenu_; }
    QMenu* licenceMenu() const { return licenceMenu_; }

private:
    void buildTypeMenu();
    void reloadLicenses();
    void reloadLicensesAndSelect();
    void selectType(qint64 tag);
    void selectLicense(PTLicence* licence, bool checkDeleted);
    void didChange();

    QMenu* menu_;
    QMenu* typeMenu_;
    QMenu* licenceMenu_;
    QActionGroup* typeGroup_;
    QActionGroup* licenceGroup_;
    QHash<QAction*, PTLicence*> licences_;
    std::function<void()> changeHandler_;
    pt::ObserverToken licencesObserver_;
};
