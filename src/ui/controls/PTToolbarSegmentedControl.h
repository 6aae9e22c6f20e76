#pragma once

#include "ui/controls/PTStyledLabel.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <vector>

class PTToolbarSegmentedControlCell;
class QKeyEvent;
class QMenu;
class QTimer;

// The segmented control of the whole interface. Each segment has a label, optionally followed by a dimmer
// sublabel (fixed, or the title of its menu's checked item), an icon tinted in the palette and a pop-up menu
// that opens at once from the hot spot at the segment's far corner. One segment tracks momentarily and follows
// the control's width; several select one. A click emits action(). Drawing is the cell's.
class PTToolbarSegmentedControl : public QWidget {
    Q_OBJECT
public:
    enum TrackingMode { SelectOne, Momentary };
    static const QString DefaultLabelSeperator; // " ⟩ "

    explicit PTToolbarSegmentedControl(QWidget* parent = nullptr);
    ~PTToolbarSegmentedControl() override;

    int segmentCount() const { return int(segments_.size()); }
    // One segment: momentary, and the segment follows the frame until a second one arrives (which restores the
    // minimum width the control had before).
    void setSegmentCount(int count);
    TrackingMode trackingMode() const { return segmentCount() == 1 ? Momentary : SelectOne; }
    int selectedSegment() const { return selectedSegment_; }
    void setSelectedSegment(int segment);

    QString label(int segment) const;
    void setLabel(const QString& label, int segment);
    // A non-empty text is the segment's fixed sublabel; an empty one removes it.
    void setSublabel(const QString& sublabel, int segment);
    // The fixed sublabel, else the title of the menu's first checked item (not the menu's first item unless
    // allowsFirstMenuItemAsSublabel), uncut.
    QString sublabel(int segment) const;
    QMenu* menu(int segment) const;
    // The control does not own the menu.
    void setMenu(QMenu* menu, int segment);
    // The stored image: tinted with the toolbar icon colour when autoColorsIcons.
    QImage image(int segment) const;
    void setImage(const QImage& image, int segment);
    qreal widthForSegment(int segment) const;

    // The styled label, or null: there are none while sublabeledFromMenus is off, nor for empty labels.
    const PTStyledLabel* attributedLabelForSegment(int segment) const;
    void updateLabelForSegment(int segment);
    // Rebuilds every styled label and the segment widths without touching the frame.
    void recheckSublables();
    // The control's width; with autoCalculatesFrame the frame takes it.
    qreal recalculateWidth();
    qreal recalculateWidthWithMinWidth(qreal minWidth);

    // Where segment i is drawn: after the widths before it and one point per segment.
    QRectF rectForSegment(int segment) const;
    // -1 when the point is on no segment.
    int indexOfSegmentAt(const QPointF& point) const;
    int hoverSegment() const { return hoverSegment_; }
    // Inside a tool bar the platform bezel is drawn.
    bool isInTitleBar() const;
    bool isKey() const;
    // The first segment's label and its sublabel: also the accessible name.
    QString toolTipText() const;

    // A one-segment enabled control clicks itself on its key equivalent; answers whether it did.
    bool performKeyEquivalent(int key, Qt::KeyboardModifiers modifiers, const QString& text);
    // Emits action() for the segment as a click on it would.
    void performClick(int segment = 0);

    bool autoColorsIcons() const { return autoColorsIcons_; }
    void setAutoColorsIcons(bool on) { autoColorsIcons_ = on; }
    qreal minWidth() const { return minWidth_; }
    void setMinWidth(qreal width);
    qreal sublabelFontSize() const { return sublabelFontSize_; }
    void setSublabelFontSize(qreal size);
    int maxSublabelLength() const { return maxSublabelLength_; }
    // Below 3 is raised to 3, the length of the cut's "...".
    void setMaxSublabelLength(int length);
    // Where a label too wide for its segment is cut: in the middle unless set.
    Qt::TextElideMode labelElideMode() const { return labelElideMode_; }
    void setLabelElideMode(Qt::TextElideMode mode)
    {
        labelElideMode_ = mode;
        update();
    }
    qreal labelPadding() const { return labelPadding_; }
    void setLabelPadding(qreal padding);
    qreal iconSpacing() const { return iconSpacing_; }
    void setIconSpacing(qreal spacing);
    qreal customHeight() const { return customHeight_; }
    // Non-zero: the control is this high and draws its own bezel; zero: 20 high.
    void setCustomHeight(qreal height);
    qreal borderRadius() const { return borderRadius_; }
    void setBorderRadius(qreal radius);
    QColor strokeColor() const { return strokeColor_; }
    void setStrokeColor(const QColor& color);
    QString labelSeperator() const { return labelSeperator_; }
    void setLabelSeperator(const QString& seperator);
    bool autoCentersLabel() const { return autoCentersLabel_; }
    void setAutoCentersLabel(bool on);
    bool obeyMinWidthForSingleSegment() const { return obeyMinWidthForSingleSegment_; }
    void setObeyMinWidthForSingleSegment(bool on);
    bool allowsFirstMenuItemAsSublabel() const { return allowsFirstMenuItemAsSublabel_; }
    void setAllowsFirstMenuItemAsSublabel(bool on) { allowsFirstMenuItemAsSublabel_ = on; }
    bool sublabeledFromMenus() const { return sublabeledFromMenus_; }
    void setSublabeledFromMenus(bool on);
    bool confirmationStyle() const { return confirmationStyle_; }
    // Dropped while the control is disabled and given back when it is enabled again.
    void setConfirmationStyle(bool on);
    bool autoCalculatesFrame() const { return autoCalculatesFrame_; }
    void setAutoCalculatesFrame(bool on);
    QString keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(const QString& key) { keyEquivalent_ = key; }
    Qt::KeyboardModifiers keyEquivalentModifierMask() const { return keyEquivalentModifierMask_; }
    void setKeyEquivalentModifierMask(Qt::KeyboardModifiers mask) { keyEquivalentModifierMask_ = mask; }

    QSize sizeHint() const override;
    PTToolbarSegmentedControlCell& cell();

signals:
    // A click on the segment (never a press that opened its menu).
    void action(int segment);

protected:
    // The painter object that draws the control; made on first use.
    virtual std::unique_ptr<PTToolbarSegmentedControlCell> makeCell() const;

    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct Segment {
        QString label;
        QString sublabel;
        QImage image;
        QPointer<QMenu> menu;
        qreal width = 0;
    };

    bool isValidSegment(int segment, const char* setter) const;
    void appearanceDidChange();
    void resetMinWidth();
    void showMenu(int segment);
    void updateAccessibleName();
    QColor labelColor() const;

    std::vector<Segment> segments_;
    std::map<int, PTStyledLabel> labels_;
    std::unique_ptr<PTToolbarSegmentedControlCell> cell_;
    int selectedSegment_ = -1;
    int hoverSegment_ = -1;
    int pressedSegment_ = -1;
    QTimer* menuDelay_;
    QPointer<QWidget> keyWindow_;

    bool autoColorsIcons_ = true;
    qreal minWidth_ = 30;
    qreal sublabelFontSize_ = 12;
    int maxSublabelLength_ = 2147483647;
    Qt::TextElideMode labelElideMode_ = Qt::ElideMiddle;
    qreal labelPadding_ = 10;
    qreal iconSpacing_ = 6;
    qreal customHeight_ = 0;
    qreal borderRadius_;
    QColor strokeColor_;
    QString labelSeperator_ = DefaultLabelSeperator;
    bool autoCentersLabel_ = false;
    bool obeyMinWidthForSingleSegment_ = false;
    bool allowsFirstMenuItemAsSublabel_ = false;
    bool sublabeledFromMenus_ = false;
    bool confirmationStyle_ = false;
    bool droppedConfirmationStyle_ = false;
    bool autoCalculatesFrame_ = false;
    QString keyEquivalent_;
    Qt::KeyboardModifiers keyEquivalentModifierMask_;

    bool frameListening_ = false;
    bool resizingItself_ = false;
    qreal oldMinWidth_ = 0;
    qreal width_ = 2;
    PTAppearanceObserver appearanceObserver_{this, &PTToolbarSegmentedControl::appearanceDidChange};
};
