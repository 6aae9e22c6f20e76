#pragma once

#include "foundation/FolderSize.h"
#include "platform/store/ObservationToken.h"
#include "sidebar/inspector/PTSideBarViewController.h"

class PTLicenceSideBarSegmentController;
class PTSheetTextField;
class PTSideBarSegmentController;
class PTStackView;
class PTToolbarSegmentedControl;
class QLabel;

// The inspector pane of what the source list selects ("Icon Set", "Icon Sets" for several): the name and
// description of the one selected set or group, facts about the sets the grid shows (icons, date, size on disk,
// number of sets), their licence, and the export of the selected set or group as a bundle.
class PTSetSideBarController : public PTSideBarViewController {
    Q_OBJECT
public:
    // Sums the sizes of the folders and calls back on the main queue.
    using FolderSizer = std::function<void(const QStringList& paths, folderSize::SizeCallback callback)>;

    explicit PTSetSideBarController(QObject* parent = nullptr);
    ~PTSetSideBarController() override;

    bool wantsAutoSizedView() const override;
    bool saveState(bool& gridNeedsReload) override;
    void setFolderSizer(FolderSizer sizer) { folderSizer_ = std::move(sizer); }

    QWidget* mainStackView() const;
    QWidget* noSelectionView() const { return noSelectionView_; }
    PTSheetTextField* nameControl() const { return nameControl_; }
    PTSheetTextField* informativeTextControl() const { return informativeTextControl_; }
    QLabel* iconsField() const { return iconsField_; }
    QLabel* dateField() const { return dateField_; }
    QLabel* sizeField() const { return sizeField_; }
    QLabel* selectionField() const { return selectionField_; }
    QWidget* selectionView() const { return selectionView_; }
    QWidget* dateView() const { return dateView_; }
    QLabel* messageLabel() const { return messageLabel_; }
    PTToolbarSegmentedControl* exportControl() const { return exportControl_; }
    PTSideBarSegmentController* infoSegmentController() const { return infoSegmentController_; }
    PTLicenceSideBarSegmentController* licenceSegmentController() const { return licenceSegmentController_; }

protected:
    void controllerDidLoad() override;
    void willReceiveTopLevelGroupsAndCollections() override;
    void didReceiveTopLevelGroupsAndCollections() override;
    void didReceiveNewCollections() override;

private:
    pt::store::ManagedObject* singularObject() const;
    void refreshName();
    void refreshDescription();
    void refreshFacts();
    void refreshSize();
    void refreshLicence();
    bool saveName(pt::store::ManagedObject* object);
    bool saveLicence();
    bool saveDescription();

    PTStackView* mainStackView_ = nullptr;
    QWidget* noSelectionView_ = nullptr;
    PTSheetTextField* nameControl_ = nullptr;
    PTSheetTextField* informativeTextControl_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QLabel* iconsField_ = nullptr;
    QLabel* dateField_ = nullptr;
    QLabel* sizeField_ = nullptr;
    QLabel* selectionField_ = nullptr;
    QWidget* dateView_ = nullptr;
    QWidget* selectionView_ = nullptr;
    PTToolbarSegmentedControl* exportControl_ = nullptr;
    PTSideBarSegmentController* inputSegmentController_ = nullptr;
    PTSideBarSegmentController* infoSegmentController_ = nullptr;
    PTLicenceSideBarSegmentController* licenceSegmentController_ = nullptr;
    FolderSizer folderSizer_;
    pt::store::ObservationToken nameObservation_;
    // Numbers the size requests, so that a total arriving after the sets changed is dropped.
    quint64 sizeRequest_ = 0;
    int objectSelectionMask_ = 0;
    bool descriptionDidChange_ = false;
};
