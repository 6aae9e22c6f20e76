#pragma once

#include "browser/PTBrowserTransfer.h"
#include "browser/cache/PTImageCache.h"
#include "ui/colour/PTColourPickerControl.h"
#include "ui/theme/PTAppearanceObserver.h"

#include <QMetaObject>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <functional>
#include <optional>

class PTIconSideBarColorWell;
class PTIconSideBarPreviewImageView;
class PTIconSidebarPreviewPopupButton;
class PTItem;
class PTSheetTextField;
class QDrag;
class QMenu;
class QStackedWidget;

// The preview section of the icon inspector: the first selected icon rendered large, a colour well (a tint, or
// replacements of the icons' own colours when they share one palette), the sizes to drag out (free text, or an
// ICO size pop-up while ICO is the format) and the format. Dragging the preview takes every selected icon out
// as files, one per icon and size, exported when a receiver reads them. The format survives restarts.
class PTIconSideBarPreviewViewController : public QWidget {
    Q_OBJECT
public:
    static const QString FormatKey;                // "PTIconSideBarPreviewFormatKey"
    static const QString IncludeSizeInFilenameKey; // "PTIconSidebarPreviewIncludeSizeInFilenameKey"
    static constexpr qreal MinimumImageSide = 140;

    // Where previews come from: the shared thumbnail cache unless a stand-in is given.
    struct ImageSource {
        std::function<PTImageCache::RequestID(PTItem*, const PTImageCacheOptions&, PTImageCache::Completion)>
            request;
        std::function<void(PTImageCache::RequestID)> cancel;
    };

    explicit PTIconSideBarPreviewViewController(QWidget* parent = nullptr);
    ~PTIconSideBarPreviewViewController() override;

    void setImageSource(ImageSource source);
    const QVector<PTItem*>& items() const { return items_; }
    // Keeps the items, sets the colour well up for their colours and renders the first.
    void setItems(const QVector<PTItem*>& items);

    // The chosen export format number.
    qint64 exportFormat() const;
    // Chooses the format as the pop-up does: swaps the size controls and remembers it.
    void selectFormat(qint64 format);
    // The ICO pop-up's size while ICO is chosen, else the parts of the size text (see sizeFormatsFromText).
    QStringList sizeFormats() const;
    // The text split at "," and "|", each part trimmed, empty parts dropped; none left gives one empty size
    // (the icon's own).
    static QStringList sizeFormatsFromText(const QString& text);
    void toggleSizeInFilename();
    // Puts the keyboard focus in the size control now shown.
    void focus();

    // The view's side less 15 on every side, at least MinimumImageSide, square.
    QSizeF proposedImageSize() const;
    PTImageCacheOptions proposedCacheOptions() const;
    // Asks for a new rendering of the first item; an answer to an earlier request is dropped.
    void updateImage();
    // Renders again only when the options changed.
    void updateImageIfRequired();
    // Replacement mode when every item is an SVG and together they draw one palette of two or more colours;
    // tint mode otherwise.
    void itemsDidChange();
    // The preview's context menu ("Include Size in Filename"); the caller owns it.
    QMenu* makeContextMenu();

    // One rendering per size: the format, the size text, the replacements and the file-name rule.
    static QVector<PTBrowserTransfer::Rendering> renderingsForSizes(
        const QStringList& sizeFormats, qint64 format, const QColor& color,
        const std::optional<PTColourPickerControl::ReplacedColors>& replacedColors, bool appendSizeSuffix);
    // One copy-only drag of the items in every rendering (one file per item and rendering, exported when read),
    // showing the image; null with no installed transfer, no items or no renderings. Its source is marked
    // drag-out-only, so our own drop targets refuse it.
    static QDrag* dragForItems(QObject* source, const QVector<PTItem*>& items,
                               const QVector<PTBrowserTransfer::Rendering>& renderings, const QImage& image);
    // Runs the drag of the selected items in the chosen sizes and format.
    void startDrag();

    PTIconSideBarPreviewImageView* imageView() const { return imageView_; }
    PTIconSideBarColorWell* colorWell() const { return colorWell_; }
    PTSheetTextField* sizeControl() const { return sizeControl_; }
    PTIconSidebarPreviewPopupButton* formatControl() const { return formatControl_; }
    PTIconSidebarPreviewPopupButton* icoSizeControl() const { return icoSizeControl_; }
    QWidget* currentSizeControl() const;

private:
    void formatDidChange();
    void colorDidChange(const QColor& color, const QColor& original);
    void updateAppearance();

    PTIconSideBarPreviewImageView* imageView_;
    PTIconSideBarColorWell* colorWell_;
    PTSheetTextField* sizeControl_;
    PTIconSidebarPreviewPopupButton* formatControl_;
    PTIconSidebarPreviewPopupButton* icoSizeControl_;
    QStackedWidget* sizeSlot_;
    QMenu* formatMenu_;
    QMenu* icoSizeMenu_;

    QVector<PTItem*> items_;
    ImageSource imageSource_;
    PTImageCache::RequestID lastRequest_ = 0;
    // Counts requests: only the answer to the latest is shown.
    quint64 generation_ = 0;
    std::optional<PTImageCacheOptions> currentOptions_;
    QMetaObject::Connection defaultsConnection_;
    PTAppearanceObserver appearanceObserver_{this, &PTIconSideBarPreviewViewController::updateAppearance};
};
