#pragma once

#include "ui/views/PTPopover.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class PTSwitchControl;
class PTToolbarSegmentedControl;
class QSlider;

// The grid options kept in the defaults: the thumbnail size, the dark or light grid, and whether the grid draws
// its lines and labels. The class steps the size for menus, the toolbar and pinching; an instance is the small
// options view bound to the same keys, shown on its own or in a popover.
class PTGridViewOptionsController : public QWidget {
    Q_OBJECT
public:
    static inline const QString GridViewSizeKey = QStringLiteral("gridViewSize");
    static inline const QString ShowGridKey = QStringLiteral("PTGridViewOptionsControllerShowGrid");
    static inline const QString ShowLabelsKey = QStringLiteral("PTGridViewOptionsControllerShowLabels");
    static inline const QString DarkModeEnabledKey = QStringLiteral("PTGridViewOptionsControllerDarkModeEnabledV2");
    static constexpr double MinimumSize = 16;
    static constexpr double MaximumSize = 256;
    static constexpr double SmallStep = 5;
    static constexpr double LargeStep = 20;

    // The two switches default to on; called once at start-up.
    static void registerDefaults();
    static float currentValue();
    static void setDefaultSize(float size);
    static double clampValue(double value);
    // Steps of 20, or of 5 with Shift held in the asking event (the platform cannot be asked reliably).
    static void increaseSizeStatically(Qt::KeyboardModifiers modifiers);
    static void decreaseSizeStatically(Qt::KeyboardModifiers modifiers);

    explicit PTGridViewOptionsController(QWidget* parent = nullptr);
    ~PTGridViewOptionsController() override;

    // Shows the options in a popover beside the view's bounds at the edge, unless one is showing.
    void showPopoverRelativeToView(QWidget* view, Qt::Edge edge);
    PTPopover* popover() const { return popover_; }
    // Called after the popover closed.
    void setDelegate(std::function<void()> gridViewOptionsDidClose) { didClose_ = std::move(gridViewOptionsDidClose); }

    // The slider's value plus or minus 5, within the limits, stored.
    void increaseSize();
    void decreaseSize();
    // Segment 1 is the dark grid.
    void setGridModeFromSender(int segment);

    QSlider* slider() const { return slider_; }
    PTToolbarSegmentedControl* gridModeControl() const { return gridModeControl_; }
    PTSwitchControl* showGridControl() const { return showGridControl_; }
    PTSwitchControl* showLabelsControl() const { return showLabelsControl_; }

private:
    static void stepSize(double step);
    void resetModeControl();
    void resetSlider();
    void commitChange();
    void popoverDidClose();

    QSlider* slider_;
    PTToolbarSegmentedControl* gridModeControl_;
    PTSwitchControl* showGridControl_;
    PTSwitchControl* showLabelsControl_;
    QPointer<PTPopover> popover_;
    std::function<void()> didClose_;
};
