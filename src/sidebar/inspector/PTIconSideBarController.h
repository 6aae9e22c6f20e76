#pragma once

#include "platform/store/ObservationToken.h"
#include "sidebar/inspector/PTSideBarViewController.h"

#include <QSet>
#include <QStringList>
#include <QUrl>

#include <vector>

class PTIconSideBarPreviewViewController;
class PTLicenceSideBarSegmentController;
class PTOpenInControl;
class PTStoredFileMove;
class PTSideBarTokenField;
class PTSheetTextField;
class PTSideBarSegmentController;
class PTStackView;
class QLabel;
class QPushButton;

// The inspector pane of the icons selected in the grid ("Selection"): name, tags and description, metadata and
// licence of one icon or of several, written back to the icons. A selection whose files are missing or do not
// decode shows an error view offering to replace them, and nothing of it is saved.
//
// The name and the licence are saved as soon as they are chosen; tag and description edits wait for the next
// save, at the latest when the selection changes or the application quits.
class PTIconSideBarController : public PTSideBarViewController {
    Q_OBJECT
public:
    static constexpr int MaxTagLength = 255;
    static constexpr int MaxTagsBytes = 64 * 1024;

    explicit PTIconSideBarController(QObject* parent = nullptr);
    ~PTIconSideBarController() override;

    bool wantsAutoSizedView() const override;
    bool saveState(bool& gridNeedsReload) override;
    // Brings the pane forward and puts the caret in the name field; false while the error view shows.
    bool beginEditingName();
    // The tag field's tokens after an edit.
    void tagsDidChange(const QStringList& tokens);
    // Opens the selected icons in the application the open-in control names.
    void openIn();

    QWidget* mainStackView() const;
    QWidget* noSelectionView() const { return noSelectionView_; }
    QWidget* errorView() const { return errorView_; }
    PTSheetTextField* nameControl() const { return nameControl_; }
    PTSheetTextField* informativeTextControl() const { return informativeTextControl_; }
    PTSideBarTokenField* tagsControl() const { return tagsControl_; }
    PTIconSideBarPreviewViewController* previewViewController() const { return previewViewController_; }
    PTOpenInControl* openInSegmentControl() const { return openInSegmentControl_; }
    // The tags shown, and the tag field's placeholder.
    const QStringList& shownTags() const { return shownTags_; }
    const QString& tagsPlaceholder() const { return tagsPlaceholder_; }
    QLabel* dateControl() const { return dateControl_; }
    QLabel* typeControl() const { return typeControl_; }
    QLabel* bytesControl() const { return bytesControl_; }
    QLabel* dimensionsControl() const { return dimensionsControl_; }
    QLabel* unicodeControl() const { return unicodeControl_; }
    QLabel* selectedControl() const { return selectedControl_; }
    QWidget* unicodeView() const { return unicodeView_; }
    QWidget* numberItemsSelectedView() const { return numberItemsSelectedView_; }
    QLabel* messageLabel() const { return messageLabel_; }
    QPushButton* replaceButton() const { return replaceButton_; }
    PTLicenceSideBarSegmentController* licenceSegmentController() const { return licenceSegmentController_; }
    const QVector<PTItem*>& invalidItems() const { return invalidItems_; }

protected:
    void controllerDidLoad() override;
    void willReceiveTopLevelGroupsAndCollections() override;
    void willReceiveNewItems(bool clear) override;
    void didReceiveNewItems(bool clear) override;

private:
    QWidget* makeErrorView();
    void refresh();
    void refreshName();
    void refreshDescription();
    void refreshTags();
    void refreshMetadata();
    void refreshLicence();
    void scheduleLicenceRefresh();
    bool saveName(PTStoredFileMove& renames);
    void saveLicence();
    void saveTags();
    void saveDescription();
    bool renameItem(PTItem* item, const QString& name, QSet<QString>& handedOut, PTStoredFileMove& renames);
    void renamesWereNotStored();
    void replaceIcons();

    PTStackView* mainStackView_ = nullptr;
    QWidget* noSelectionView_ = nullptr;
    QWidget* errorView_ = nullptr;
    QPushButton* replaceButton_ = nullptr;
    PTSheetTextField* nameControl_ = nullptr;
    PTSheetTextField* informativeTextControl_ = nullptr;
    PTSideBarTokenField* tagsControl_ = nullptr;
    PTIconSideBarPreviewViewController* previewViewController_ = nullptr;
    PTOpenInControl* openInSegmentControl_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QLabel* dateControl_ = nullptr;
    QLabel* typeControl_ = nullptr;
    QLabel* bytesControl_ = nullptr;
    QLabel* dimensionsControl_ = nullptr;
    QLabel* unicodeControl_ = nullptr;
    QLabel* selectedControl_ = nullptr;
    QWidget* unicodeView_ = nullptr;
    QWidget* numberItemsSelectedView_ = nullptr;
    PTSideBarSegmentController* inputController_ = nullptr;
    PTSideBarSegmentController* infoController_ = nullptr;
    PTLicenceSideBarSegmentController* licenceSegmentController_ = nullptr;

    QStringList shownTags_;
    QString tagsPlaceholder_;
    QStringList fieldTags_;
    QVector<PTItem*> invalidItems_;
    QVector<QUrl> invalidFileURLs_;
    std::vector<pt::store::ObservationToken> licenceObservations_;
    bool ignoreControllerSwap_ = false;
    bool requestingLicenceRefresh_ = false;
    bool tagsHaveChanged_ = false;
    bool descriptionHasChanged_ = false;
};
