#pragma once

#include "platform/store/ObjectID.h"
#include "ui/views/PTPanel.h"

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <array>
#include <vector>

class PTItem;
class PTQuickLookPanelView;
class PTQuickLookProtocol;

// The floating preview: one item in a tool panel over the main window at one of ten standard sizes (16 to 512
// pixels), with a tint, a background, a pixel mode for dense screens, open-in and export at the previewed size.
// Previews are rendered synchronously by the thumbnail renderers when a size is first shown, and kept per size
// until the item is shown again. The item is held by its object ID and looked up at each use, so a deleted item
// shows nothing. Main thread only.
class PTQuickLook : public QObject {
    Q_OBJECT
public:
    static const QString PreviewSizeKey;        // "QuickLookPreviewSize", an index into the sizes
    static const QString HiDPIModeEnabledKey;   // "QuickLookHiDPIModeEnabled"
    static const QString DarkModeAutoColorIconsKey; // "PTPreferencesDarkModeAutoColorIcons", read only
    static constexpr std::array<int, 10> Sizes{16, 20, 24, 32, 36, 48, 64, 128, 256, 512};

    // The application's one controller, made on first use and kept for the run.
    static PTQuickLook& sharedController();
    // A controller of its own (tests); it reads the stored size now.
    PTQuickLook();
    ~PTQuickLook() override;

    PTQuickLookProtocol* delegate() const { return delegate_; }
    // Not owned.
    void setDelegate(PTQuickLookProtocol* delegate) { delegate_ = delegate; }

    // Builds the panel when there is none, brings it to the front and shows the delegate's item.
    void show();
    // Closes a visible panel, telling the delegate before and after; forgets the previews either way.
    void hide();
    bool isVisible() const;
    // Asks the delegate for the item again and shows it from scratch.
    void reloadData();
    // The panel's title: the item's name.
    void setItem(PTItem* item);

    int currentSizeIndex() const { return currentSize_; }
    // Shows the size of that index (clamped to the list): label, slider and stored index; the preview too when
    // there is an item.
    void setCurrentSizeIndex(int index);
    // One size up or down; nothing beyond either end.
    void increaseSize();
    void decreaseSize();
    // A background preset by tag (see PTQuickLookPanelView::presetColor); other tags do nothing.
    void setBackgroundPreset(int tag);
    // The export sheet for the item at the previewed size, with the tint as fill colour.
    void exportIcon();
    // Opens the item in the application chosen in the open-in control.
    void openIn();

    // The pixels per point of the panel's screen; a change is a move to another screen.
    qreal windowBackingScale() const { return windowBackingScale_; }
    void windowDidChangeScreen(qreal backingScale);
    // Pixel mode applies: the switch is enabled (a dense screen) and on.
    bool pixelMode() const;

    // The panel and its content while open; null when closed.
    PTPanel* panel() const { return panel_; }
    PTQuickLookPanelView* panelView() const { return panelView_; }
    // The item shown, looked up again; null when none is or it was deleted.
    PTItem* item() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildPanel();
    void setupView();
    void setDefaultsForBackingScale();
    void checkHiDPI();
    void checkRenderView();
    void clear();
    QImage generatePreviewImageWithSize(PTItem& item, int pixels) const;
    void centrePanel();
    void windowWillClose();
    void defaultsChanged(const QString& key);
    void setBackgroundColor(const QColor& color);

    PTQuickLookProtocol* delegate_ = nullptr;
    QPointer<PTPanel> panel_;
    PTQuickLookPanelView* panelView_ = nullptr;
    pt::store::ObjectID itemID_;
    qint64 itemType_ = -1;
    // One preview per size once shown; empty without an item.
    std::vector<QImage> images_;
    int currentSize_ = int(Sizes.size()) - 1;
    qreal windowBackingScale_ = 1;
    QRect lastFrame_;
    bool observesDarkMode_ = false;
    // The last background chosen, for the whole run, not stored.
    QColor rememberedBackground_;
    // A key press passes the filter once for each widget it propagates to; it is handled at the first.
    const QEvent* seenKeyPress_ = nullptr;
    QPointer<QWidget> seenKeyReceiver_;
};
