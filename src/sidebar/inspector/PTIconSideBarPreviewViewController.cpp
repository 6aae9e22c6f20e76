#include "sidebar/inspector/PTIconSideBarPreviewViewController.h"

#include "foundation/StringAdditions.h"
#include "library/entities/PTItem.h"
#include "platform/runtime/Defaults.h"
#include "sidebar/inspector/PTIconSideBarColorWell.h"
#include "sidebar/inspector/PTIconSideBarPreviewImageView.h"
#include "sidebar/inspector/PTIconSidebarPreviewPopupButton.h"
#include "svg/PTSVG.h"
#include "transfer/export/PTExportOutputOption.h"
#include "transfer/export/PTExportSheetOptionViewController.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"

#include <QDrag>
#include <QHBoxLayout>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QPointer>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

const QString PTIconSideBarPreviewViewController::FormatKey = QStringLiteral("PTIconSideBarPreviewFormatKey");
const QString PTIconSideBarPreviewViewController::IncludeSizeInFilenameKey =
    QStringLiteral("PTIconSidebarPreviewIncludeSizeInFilenameKey");

namespace {

constexpr int ImageHeight = 180;
constexpr int BarHeight = 24;
constexpr int FormatWidth = 70;
constexpr int WellWidth = 40;
constexpr qreal ImageInset = 15;
constexpr qreal Radius = 3;

QMenu* menuOf(const QList<qint64>& formats, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    for (const qint64 format : formats) {
        if (format < 0)
            menu->addSeparator();
        else
            menu->addAction(PTExportSheetOptionViewController::formatTitle(format))->setData(format);
    }
    return menu;
}

QHash<QRgb, QColor> replacementsOf(const PTColourPickerControl::ReplacedColors& replaced)
{
    QHash<QRgb, QColor> colors;
    for (const auto& [original, replacement] : replaced)
        colors.insert(original.rgba(), replacement);
    return colors;
}

} // namespace

PTIconSideBarPreviewViewController::PTIconSideBarPreviewViewController(QWidget* parent)
    : QWidget(parent),
      imageView_(new PTIconSideBarPreviewImageView(this)),
      colorWell_(new PTIconSideBarColorWell(this)),
      sizeControl_(new PTSheetTextField(this)),
      formatControl_(new PTIconSidebarPreviewPopupButton(this)),
      icoSizeControl_(new PTIconSidebarPreviewPopupButton(this)),
      sizeSlot_(new QStackedWidget(this)),
      formatMenu_(menuOf(PTExportSheetOptionViewController::formatMenuOrder(), this)),
      icoSizeMenu_(new QMenu(this))
{
    setAccessibleName(tr("Preview"));
    pt::Defaults& defaults = pt::Defaults::standard();
    defaults.registerDefaults({{IncludeSizeInFilenameKey, false}});
    defaultsConnection_ = connect(&defaults, &pt::Defaults::changed, this, [this](const QString& key) {
        if (key == PTPreferenceKeys::DarkModeAutoColorIcons && PTThemeIsAppearance(PTAppearanceDark))
            updateImage();
    });

    imageView_->setBottomLeftBorderRadius(0);
    imageView_->setBottomRightBorderRadius(0);
    imageView_->setMinimumHeight(ImageHeight);
    imageView_->wantsToStartDrag = [this] { startDrag(); };
    imageView_->menuForEvent = [this] { return makeContextMenu(); };
    imageView_->setProperty(PTBrowserTransfer::DragOutOnlyProperty, true);

    sizeControl_->setAccessibleName(tr("Sizes"));
    // The field is narrow beside the format and colour controls: the examples live in the tooltip.
    sizeControl_->setPlaceholderText(tr("Sizes"));
    sizeControl_->setToolTip(tr("Sizes to drag out, separated by commas: 32, 2x, 64w"));
    sizeControl_->setTopLeftBorderRadius(Radius);
    sizeControl_->setTopRightBorderRadius(0);
    sizeControl_->setBottomLeftBorderRadius(0);
    sizeControl_->setBottomRightBorderRadius(0);
    for (const QString& size : PTExportSheetOptionViewController::icoSizes())
        icoSizeMenu_->addAction(size)->setData(size);
    icoSizeControl_->setAccessibleName(tr("ICO size"));
    icoSizeControl_->setPopupMenu(icoSizeMenu_);
    icoSizeControl_->topLeftBorderRadius = Radius;
    sizeSlot_->addWidget(sizeControl_);
    sizeSlot_->addWidget(icoSizeControl_);
    sizeSlot_->setFixedHeight(BarHeight);

    formatControl_->setAccessibleName(tr("Format"));
    formatControl_->setPopupMenu(formatMenu_);
    formatControl_->setFixedSize(FormatWidth, BarHeight);
    connect(formatControl_, &PTSheetViewPopupButton::itemSelected, this, [this] { formatDidChange(); });

    colorWell_->setAccessibleName(tr("Icon colour"));
    colorWell_->setFixedSize(WellWidth, BarHeight);
    colorWell_->setColorDidChangeHandler(
        [this](const QColor& color, const QColor& original) { colorDidChange(color, original); });

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(0);
    bar->addWidget(sizeSlot_, 1);
    bar->addWidget(formatControl_);
    bar->addWidget(colorWell_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(imageView_, 1);
    layout->addLayout(bar);

    setImageSource({});
    if (const QVariant stored = defaults.objectForKey(FormatKey); stored.isValid()) {
        for (QAction* item : formatMenu_->actions()) {
            if (!item->isSeparator() && item->data().toLongLong() == stored.toLongLong()) {
                formatControl_->selectItem(item);
                formatDidChange();
                break;
            }
        }
    }
    updateAppearance();
}

PTIconSideBarPreviewViewController::~PTIconSideBarPreviewViewController()
{
    disconnect(defaultsConnection_);
    if (lastRequest_ && imageSource_.cancel)
        imageSource_.cancel(lastRequest_);
}

void PTIconSideBarPreviewViewController::setImageSource(ImageSource source)
{
    if (!source.request) {
        source.request = [](PTItem* item, const PTImageCacheOptions& options, PTImageCache::Completion completion) {
            return PTImageCache::sharedCache().imageForItem(item, options, std::move(completion));
        };
        source.cancel = [](PTImageCache::RequestID id) { PTImageCache::sharedCache().cancelProcessID(id); };
    }
    imageSource_ = std::move(source);
}

void PTIconSideBarPreviewViewController::setItems(const QVector<PTItem*>& items)
{
    items_ = items;
    itemsDidChange();
    updateImage();
}

qint64 PTIconSideBarPreviewViewController::exportFormat() const
{
    const QAction* item = formatControl_->selectedItem();
    return item ? item->data().toLongLong() : PTExportFormatPNG;
}

void PTIconSideBarPreviewViewController::selectFormat(qint64 format)
{
    for (QAction* item : formatMenu_->actions()) {
        if (!item->isSeparator() && item->data().toLongLong() == format) {
            formatControl_->selectItem(item);
            formatDidChange();
            return;
        }
    }
}

QWidget* PTIconSideBarPreviewViewController::currentSizeControl() const
{
    return sizeSlot_->currentWidget();
}

QStringList PTIconSideBarPreviewViewController::sizeFormats() const
{
    if (exportFormat() == PTExportFormatICO) {
        const QAction* item = icoSizeControl_->selectedItem();
        return {item ? item->data().toString() : PTExportSheetOptionViewController::icoSizes().first()};
    }
    return sizeFormatsFromText(sizeControl_->text());
}

QStringList PTIconSideBarPreviewViewController::sizeFormatsFromText(const QString& text)
{
    QStringList sizes;
    for (const QString& part : stringAdditions::componentsSeparatedByChars(stringAdditions::trim(text), ",|")) {
        const QString trimmed = stringAdditions::trim(part);
        if (!trimmed.isEmpty())
            sizes << trimmed;
    }
    if (sizes.isEmpty())
        sizes << QString();
    return sizes;
}

void PTIconSideBarPreviewViewController::toggleSizeInFilename()
{
    pt::Defaults& defaults = pt::Defaults::standard();
    defaults.set(IncludeSizeInFilenameKey, !defaults.boolForKey(IncludeSizeInFilenameKey));
}

void PTIconSideBarPreviewViewController::focus()
{
    currentSizeControl()->setFocus(Qt::OtherFocusReason);
}

QSizeF PTIconSideBarPreviewViewController::proposedImageSize() const
{
    const QRectF bounds = QRectF(imageView_->rect()).adjusted(ImageInset, ImageInset, -ImageInset, -ImageInset);
    const qreal side = std::max(MinimumImageSide, std::min(bounds.width(), bounds.height()));
    return {side, side};
}

PTImageCacheOptions PTIconSideBarPreviewViewController::proposedCacheOptions() const
{
    PTImageCacheOptions options;
    if (const auto replaced = colorWell_->replacedColorsIfRequired())
        options.replacementColors = replacementsOf(*replaced);
    options.size = proposedImageSize();
    options.scale = devicePixelRatioF();
    if (PTThemeIsAppearance(PTAppearanceDark) && PTDarkModeAutoColorIconsEnabled())
        options.color = PTStyles::defaultDarkModeWhite();
    return options;
}

void PTIconSideBarPreviewViewController::updateImage()
{
    if (lastRequest_) {
        imageSource_.cancel(lastRequest_);
        lastRequest_ = 0;
    }
    const PTImageCacheOptions options = proposedCacheOptions();
    currentOptions_ = options;
    const quint64 generation = ++generation_;
    if (items_.isEmpty()) {
        imageView_->setImage({});
        return;
    }
    // An answer from the cache's memory comes later without a request to cancel: the section may be gone.
    QPointer<PTIconSideBarPreviewViewController> guard(this);
    lastRequest_ = imageSource_.request(
        items_.first(), options, [guard, generation](const QImage& image, PTImageCache::RequestID, bool) {
            // Only the latest request's answer is shown; earlier ones may still arrive after it.
            if (!guard || generation != guard->generation_)
                return;
            guard->lastRequest_ = 0;
            guard->imageView_->setImage(image);
        });
}

void PTIconSideBarPreviewViewController::updateImageIfRequired()
{
    if (!currentOptions_ || !(proposedCacheOptions() == *currentOptions_))
        updateImage();
}

void PTIconSideBarPreviewViewController::itemsDidChange()
{
    if (items_.isEmpty())
        return;
    const bool allSVG = std::all_of(items_.cbegin(), items_.cend(),
                                    [](const PTItem* item) { return item->type() == PTItem::SVG; });
    std::set<QRgb> palette;
    bool shared = allSVG;
    for (qsizetype i = 0; shared && i < items_.size(); ++i) {
        const PTSVG::Result svg = PTSVG::svgWithFile(items_[i]->fileURL().toLocalFile(), false);
        if (!svg)
            continue;
        const std::vector<QColor> colors = (*svg)->visibleColors();
        const std::size_t before = palette.size();
        for (const QColor& color : colors)
            palette.insert(color.rgba());
        // A second palette: the icons do not share their colours.
        if (before > 0 && palette.size() > before)
            shared = false;
    }
    if (shared && palette.size() >= 2) {
        std::vector<QColor> colors;
        for (const QRgb rgba : palette)
            colors.push_back(QColor::fromRgba(rgba));
        colorWell_->setMode(1);
        colorWell_->setReplacementColors(colors);
    } else {
        colorWell_->setMode(0);
        colorWell_->setReplacementColors({});
        if (!imageView_->iconColor().isValid() && colorWell_->color().isValid())
            imageView_->setIconColor(colorWell_->color());
    }
}

QMenu* PTIconSideBarPreviewViewController::makeContextMenu()
{
    auto* menu = new QMenu;
    QAction* include = menu->addAction(tr("Include Size in Filename"));
    include->setCheckable(true);
    include->setChecked(pt::Defaults::standard().boolForKey(IncludeSizeInFilenameKey));
    connect(include, &QAction::triggered, this, &PTIconSideBarPreviewViewController::toggleSizeInFilename);
    return menu;
}

QVector<PTBrowserTransfer::Rendering> PTIconSideBarPreviewViewController::renderingsForSizes(
    const QStringList& sizeFormats, qint64 format, const QColor& color,
    const std::optional<PTColourPickerControl::ReplacedColors>& replacedColors, bool appendSizeSuffix)
{
    QVector<PTBrowserTransfer::Rendering> renderings;
    for (const QString& size : sizeFormats) {
        PTBrowserTransfer::Rendering rendering;
        rendering.color = color;
        rendering.format = format;
        rendering.sizeFormat = size;
        if (replacedColors)
            rendering.replacementColors = replacementsOf(*replacedColors);
        rendering.appendSizeSuffix = appendSizeSuffix;
        renderings << rendering;
    }
    return renderings;
}

QDrag* PTIconSideBarPreviewViewController::dragForItems(QObject* source, const QVector<PTItem*>& items,
                                                       const QVector<PTBrowserTransfer::Rendering>& renderings,
                                                       const QImage& image)
{
    const auto transfer = PTBrowserTransfer::installed();
    if (!transfer || items.isEmpty() || renderings.isEmpty())
        return nullptr;
    source->setProperty(PTBrowserTransfer::DragOutOnlyProperty, true);
    auto* drag = new QDrag(source);
    drag->setMimeData(transfer->mimeDataForItems(items, renderings, PTBrowserTransfer::Use::Drag));
    if (!image.isNull()) {
        const QPixmap pixmap = QPixmap::fromImage(image);
        drag->setPixmap(pixmap);
        drag->setHotSpot(QPoint(int(pixmap.width() / pixmap.devicePixelRatio() / 2),
                                int(pixmap.height() / pixmap.devicePixelRatio() / 2)));
    }
    return drag;
}

void PTIconSideBarPreviewViewController::startDrag()
{
    const std::optional<PTColourPickerControl::ReplacedColors> replaced =
        colorWell_->mode() == 1 ? colorWell_->replacedColorsIfRequired() : std::nullopt;
    const QColor color = colorWell_->mode() == 1 ? QColor() : colorWell_->color();
    QDrag* drag = dragForItems(
        imageView_, items_,
        renderingsForSizes(sizeFormats(), exportFormat(), color, replaced,
                           pt::Defaults::standard().boolForKey(IncludeSizeInFilenameKey)),
        imageView_->draggingImage());
    if (!drag)
        return;
    const auto transfer = PTBrowserTransfer::installed();
    transfer->beginDrag(QCursor::pos(), imageView_);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    transfer->endDrag();
}

void PTIconSideBarPreviewViewController::formatDidChange()
{
    const bool ico = exportFormat() == PTExportFormatICO;
    sizeSlot_->setCurrentWidget(ico ? static_cast<QWidget*>(icoSizeControl_) : sizeControl_);
    pt::Defaults::standard().set(FormatKey, exportFormat());
    focus();
}

void PTIconSideBarPreviewViewController::colorDidChange(const QColor& color, const QColor& original)
{
    if (original.isValid()) {
        // Replacements are drawn into the rendering itself.
        updateImage();
        imageView_->setIconColor(QColor());
    } else {
        // A tint is the image view's: no new rendering unless the options changed.
        updateImageIfRequired();
        imageView_->setIconColor(color);
    }
}

void PTIconSideBarPreviewViewController::updateAppearance()
{
    updateImage();
}
