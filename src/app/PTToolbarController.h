#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QVector>

class PTAddButton;
class PTGridViewOptionsController;
class PTPrefsButton;
class PTToolbarColorWellControl;
class PTToolbarFilterControl;
class PTToolbarSearchField;
class PTToolbarSegmentedControl;
class PTToolbarSeperatorIndicatorView;
class PTWindowTitleBar;
class QMenu;
class QSlider;

// The main window's toolbar: new set button, add menu, grid size (a click opens the grid options, a press held or on its corner
// the menu of sizes with a slider), search field, type switch,
// icon colour, notices and the preferences button. What the user does there becomes defaults and notifications that the grid follows;
// it also answers the current type and icon colour. One instance, made with the main window.
class PTToolbarController : public QObject {
    Q_OBJECT
public:
    static inline const QString GridSizeKey = QStringLiteral("gridViewSize");
    static inline const QString TypeSelectionKey = QStringLiteral("PTToolbarTypeSelectionKey");
    static inline const QString SizeSliderDidStartNotification = QStringLiteral("PTToolbarSizeSliderDidStart");
    static inline const QString SizeSliderDidEndNotification = QStringLiteral("PTToolbarSizeSliderDidEnd");
    static inline const QString ColorDidChangeNotification = QStringLiteral("PTToolbarColorDidChange");
    static inline const QString FilterDidChangeNotification = QStringLiteral("PT_TOOLBAR_FILTER_DID_CHANGE");
    static constexpr int FilterDelayMs = 200;
    // Sizes of grid cells offered in the menu, in points.
    static const QVector<int>& gridViewSizes();

    // Puts the controls into the band.
    explicit PTToolbarController(PTWindowTitleBar* bar, QObject* parent = nullptr);
    ~PTToolbarController() override;
    // The instance of the main window; null before it exists.
    static PTToolbarController* sharedController();

    PTToolbarSegmentedControl* addControl() const { return addControl_; }
    PTToolbarSegmentedControl* gridViewOptions() const { return gridViewOptions_; }
    QMenu* sizeMenu() const { return sizeMenu_; }
    QSlider* gridViewSlider() const { return slider_; }
    PTToolbarSearchField* searchField() const { return searchField_; }
    PTToolbarFilterControl* filterControl() const { return filterControl_; }
    PTToolbarSegmentedControl* typeSwitch() const { return typeSwitch_; }
    PTToolbarColorWellControl* colorWellControl() const { return colorWell_; }
    PTToolbarSegmentedControl* noticesControl() const { return noticesControl_; }
    PTAddButton* addButton() const { return addButton_; }
    PTPrefsButton* prefsButton() const { return prefsButton_; }
    PTToolbarSeperatorIndicatorView* noticesSeparator() const { return noticesSeparator_; }

    QColor iconColor() const;
    // Fits the size control to its label (the grid controller asks after resetting the size).
    void recalculateGridViewOptionsWidth();

    // Shows the size as the label, checks its menu item (if any), moves the slider and stores it.
    void selectGridSize(int size);
    // A change of the type and licence filter: one notification after a burst has settled.
    void filterDidChange();
    // Segment i of the type switch stands for the type tag i + 1.
    void didChangeSelectionType(int segment);
    // Opens the notices popover under the notices button; a passive one takes neither the focus nor the mouse and
    // closes by itself.
    void showNotices(bool passive = false);
    // The grid options in a popover under the size control; made on the first click, kept for the next.
    void showGridViewOptions();

private:
    void buildSizeMenu();
    void broadcastSizeChange(int size);
    void defaultsChanged(const QString& key);
    void followTypeSelection();
    void updateNotices();

    PTAddButton* addButton_;
    PTToolbarSegmentedControl* addControl_;
    QMenu* addMenu_;
    PTToolbarSegmentedControl* gridViewOptions_;
    QMenu* sizeMenu_;
    QSlider* slider_;
    // Not a child: while shown it belongs to its popover, which the window may delete first.
    QPointer<PTGridViewOptionsController> gridOptions_;
    PTToolbarSearchField* searchField_;
    PTToolbarFilterControl* filterControl_;
    PTToolbarSegmentedControl* typeSwitch_;
    PTToolbarColorWellControl* colorWell_;
    PTToolbarSegmentedControl* noticesControl_;
    PTToolbarSeperatorIndicatorView* noticesSeparator_;
    PTPrefsButton* prefsButton_;
    QTimer filterTimer_;
    int currentSelected_ = 0;
    bool writingSize_ = false;
};
