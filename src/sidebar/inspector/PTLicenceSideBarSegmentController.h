#pragma once

#include "platform/runtime/NotificationCenter.h"
#include "sidebar/inspector/PTSideBarSegmentController.h"

#include <QPointer>

class PTLicence;
class PTSheetViewPopupButton;
class PTToolbarSegmentedControl;
class QAction;
class QMenu;

// The "License" section of both inspector panes: a pop-up of the library's licences with "None", "Multiple"
// (for a mixed selection) and "Manage Licenses...", and a "More Info" button opening the licence's web page.
// It changes no object itself: a pick is kept and announced by licencePicked(), and the pane reads selectedTag()
// and licence() when it saves. Both panes' sections share one folded state.
class PTLicenceSideBarSegmentController : public PTSideBarSegmentController {
    Q_OBJECT
public:
    // The tags of the menu's entries.
    enum Tag { NoTag = 0, NoneTag = 1, MultipleTag = 2, ManageTag = 3, LicenceTag = 4 };
    static inline const QString Identifier = QStringLiteral("sidebar.licence");
    static inline const QString PreferencesPane = QStringLiteral("licenses");

    explicit PTLicenceSideBarSegmentController(QObject* parent = nullptr);

    PTLicence* licence() const { return licence_; }
    // Shows the licence (null: "None") without announcing it.
    void setLicence(PTLicence* licence);
    bool multiple() const { return multiple_; }
    void setMultiple(bool multiple);
    void setEnabled(bool enabled);
    // The tag of the entry shown as chosen; 0 when none is.
    int selectedTag() const;

    PTSheetViewPopupButton* licenceControl() const { return licenceControl_; }
    QMenu* menu() const { return menu_; }
    QWidget* moreInfoContainerView() const { return moreInfoContainerView_; }
    // The page "More Info" opens: the licence's address when it is http or https; empty otherwise.
    static QUrl moreInfoURL(const PTLicence* licence);

signals:
    void licencePicked();

private:
    void reload();
    void visuallyReselectLicence();
    void entryChosen(QAction* entry);
    void manageLicences();
    void computeButton();

    PTSheetViewPopupButton* licenceControl_;
    QMenu* menu_ = nullptr;
    QWidget* moreInfoContainerView_;
    PTToolbarSegmentedControl* moreInfoButton_;
    PTLicence* licence_ = nullptr;
    bool multiple_ = false;
    pt::ObserverToken licencesDidChange_;
};
