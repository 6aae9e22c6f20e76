#pragma once

#include "browser/PTBrowserSidebar.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QWidget>

#include <array>

class PTColourWellControl;
class PTQuickLookBackgroundView;
class PTQuickLookImageView;
class PTStackView;
class PTSwitchControl;
class QLabel;
class QPushButton;
class QScrollArea;
class QSlider;
class QToolButton;

// The content of the preview panel: the preview field on its backdrop at the left; at the right the item's
// title over a scrolling stack of rows: pixel mode, size, background, tint, open-in and export. It only builds
// and lays out; the preview controller fills it and answers its controls.
class PTQuickLookPanelView : public QWidget {
    Q_OBJECT
public:
    // The preview field holds the largest size, 512 points, with room around it.
    static constexpr int PreviewSide = 560;
    static constexpr int SidebarWidth = 260;

    // The background presets by tag: 0 white, 1 #D9DCE0, 2 #1C202A, 3 transparent white; invalid for other
    // tags.
    static QColor presetColor(int tag);

    // Without an open-in control (no sidebar installed) the open-in row stays empty and hidden.
    PTQuickLookPanelView(PTBrowserSidebar::OpenInControl* openInControl, QWidget* parent = nullptr);

    PTQuickLookBackgroundView* previewBackground() const { return previewBackground_; }
    PTQuickLookImageView* imageView() const { return imageView_; }
    QLabel* titleField() const { return titleField_; }
    QScrollArea* containingScrollView() const { return containingScrollView_; }
    PTStackView* stackView() const { return stackView_; }

    QWidget* renderView() const { return renderView_; }
    PTSwitchControl* hiDPISwitchControl() const { return hiDPISwitchControl_; }
    QWidget* sizeView() const { return sizeView_; }
    QSlider* sizeSlider() const { return sizeSlider_; }
    QLabel* sizeLabel() const { return sizeLabel_; }
    QToolButton* decreaseButton() const { return decreaseButton_; }
    QToolButton* increaseButton() const { return increaseButton_; }
    QWidget* backgroundView() const { return backgroundView_; }
    PTColourWellControl* backgroundControl() const { return backgroundControl_; }
    // The preset buttons by tag: white, light grey, dark, transparent.
    const std::array<QToolButton*, 4>& presetButtons() const { return presetButtons_; }
    QWidget* colorView() const { return colorView_; }
    PTColourWellControl* colorControl() const { return colorControl_; }
    QWidget* openInView() const { return openInView_; }
    PTBrowserSidebar::OpenInControl* openInControl() const { return openInControl_; }
    QWidget* exportView() const { return exportView_; }
    QPushButton* exportButton() const { return exportButton_; }

private:
    // A row of the stack: the title (none when empty) and the content, stretched across with fill, else at its
    // own width.
    QWidget* row(const QString& title, QWidget* content, bool fill = false);
    void applyTheme();

    PTQuickLookBackgroundView* previewBackground_;
    PTQuickLookImageView* imageView_;
    QLabel* titleField_;
    QScrollArea* containingScrollView_;
    PTStackView* stackView_;
    QWidget* renderView_;
    PTSwitchControl* hiDPISwitchControl_;
    QWidget* sizeView_;
    QSlider* sizeSlider_;
    QLabel* sizeLabel_;
    QToolButton* decreaseButton_;
    QToolButton* increaseButton_;
    QWidget* backgroundView_;
    PTColourWellControl* backgroundControl_;
    std::array<QToolButton*, 4> presetButtons_{};
    QWidget* colorView_;
    PTColourWellControl* colorControl_;
    QWidget* openInView_;
    PTBrowserSidebar::OpenInControl* openInControl_;
    QWidget* exportView_;
    QPushButton* exportButton_;
    PTAppearanceObserver appearanceObserver_{this, &PTQuickLookPanelView::applyTheme};
};
