#include "browser/quicklook/PTQuickLook.h"

#include "browser/PTBrowserShell.h"
#include "browser/PTBrowserSidebar.h"
#include "browser/PTBrowserTransfer.h"
#include "browser/cache/PTImageCacheJob.h"
#include "browser/cache/PTImageCacheRenderer.h"
#include "browser/grid/PTGridViewImageCell.h"
#include "browser/quicklook/PTQuickLookImageView.h"
#include "browser/quicklook/PTQuickLookPanelView.h"
#include "browser/quicklook/PTQuickLookProtocol.h"
#include "foundation/DifferentStuff.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "platform/runtime/Defaults.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"
#include "ui/views/PTPanel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QToolButton>
#include <QWindow>

#include <algorithm>
#include <cmath>

const QString PTQuickLook::PreviewSizeKey = QStringLiteral("QuickLookPreviewSize");
const QString PTQuickLook::HiDPIModeEnabledKey = QStringLiteral("QuickLookHiDPIModeEnabled");

namespace {

constexpr int LastSizeIndex = int(PTQuickLook::Sizes.size()) - 1;

} // namespace

PTQuickLook& PTQuickLook::sharedController()
{
    static auto* shared = new PTQuickLook;
    return *shared;
}

PTQuickLook::PTQuickLook()
{
    pt::Defaults& defaults = pt::Defaults::standard();
    defaults.registerDefaults({{PTPreferenceKeys::DarkModeAutoColorIcons, true}});
    if (!defaults.objectForKey(PreviewSizeKey).isValid())
        defaults.set(PreviewSizeKey, LastSizeIndex);
    currentSize_ = int(std::clamp<qint64>(defaults.integerForKey(PreviewSizeKey), 0, LastSizeIndex));
    connect(&defaults, &pt::Defaults::changed, this, &PTQuickLook::defaultsChanged);
}

PTQuickLook::~PTQuickLook()
{
    delete panel_;
}

bool PTQuickLook::isVisible() const
{
    return panel_ && panel_->isVisible();
}

PTItem* PTQuickLook::item() const
{
    if (itemID_.isNull() || !PTHasManagedObjectContext())
        return nullptr;
    PTItem* found = PTItem::from(PTMainManagedObjectContext()->existingObjectWithID(itemID_));
    return found && !found->isDeleted() ? found : nullptr;
}

void PTQuickLook::show()
{
    if (!panel_)
        buildPanel();
    panel_->setUpdatesEnabled(false);
    panel_->show();
    panel_->raise();
    panel_->activateWindow();
    setDefaultsForBackingScale();
    reloadData();
    panel_->setUpdatesEnabled(true);
}

void PTQuickLook::buildPanel()
{
    const std::shared_ptr<PTBrowserShell> shell = PTBrowserShell::installed();
    const std::shared_ptr<PTBrowserSidebar> sidebar = PTBrowserSidebar::installed();
    panel_ = new PTPanel(shell ? shell->mainWindow() : nullptr);
    panel_->setAccessibleName(QStringLiteral("Preview"));
    panel_->setLooksModal(true);
    panelView_ = new PTQuickLookPanelView(sidebar ? sidebar->makeOpenInControl(nullptr) : nullptr, panel_);
    panel_->setFixedSize(panelView_->size());
    setupView();
    observesDarkMode_ = true;
    if (lastFrame_.isNull())
        centrePanel();
    else
        panel_->move(lastFrame_.topLeft());
    panel_->winId();
    connect(panel_->windowHandle(), &QWindow::screenChanged, this,
            [this](QScreen* screen) { windowDidChangeScreen(screen ? screen->devicePixelRatio() : 1); });
    qApp->installEventFilter(this);
}

void PTQuickLook::setupView()
{
    PTQuickLookPanelView& view = *panelView_;
    if (PTBrowserSidebar::OpenInControl* openInControl = view.openInControl())
        openInControl->setOpenHandler([this] { openIn(); });
    view.sizeSlider()->setValue(currentSize_);
    connect(view.sizeSlider(), &QSlider::valueChanged, this, &PTQuickLook::setCurrentSizeIndex);
    connect(view.decreaseButton(), &QToolButton::clicked, this, &PTQuickLook::decreaseSize);
    connect(view.increaseButton(), &QToolButton::clicked, this, &PTQuickLook::increaseSize);
    pt::Defaults::standard().bindBool(view.hiDPISwitchControl(), "checked", HiDPIModeEnabledKey);
    for (int tag = 0; tag < int(view.presetButtons().size()); ++tag)
        connect(view.presetButtons()[size_t(tag)], &QToolButton::clicked, this,
                [this, tag] { setBackgroundPreset(tag); });
    connect(view.exportButton(), &QPushButton::clicked, this, &PTQuickLook::exportIcon);

    PTQuickLookImageView* imageView = view.imageView();
    if (const auto shell = PTBrowserShell::installed(); shell && shell->iconColor().isValid()) {
        view.colorControl()->setColorWithoutInformingHandlers(shell->iconColor());
        imageView->setIconColor(shell->iconColor());
    }
    view.colorControl()->setColorDidChangeHandler(
        [imageView](const QColor& color, const QColor&) { imageView->setIconColor(color); });
    if (rememberedBackground_.isValid()) {
        view.backgroundControl()->setColorWithoutInformingHandlers(rememberedBackground_);
        imageView->setBackgroundColor(rememberedBackground_);
    }
    view.backgroundControl()->setColorDidChangeHandler(
        [this](const QColor& color, const QColor&) { setBackgroundColor(color); });
}

void PTQuickLook::setBackgroundColor(const QColor& color)
{
    rememberedBackground_ = color;
    if (panelView_)
        panelView_->imageView()->setBackgroundColor(color);
}

void PTQuickLook::setDefaultsForBackingScale()
{
    windowBackingScale_ = panel_->screen() ? panel_->screen()->devicePixelRatio() : 1;
    pt::Defaults::standard().registerDefaults({{HiDPIModeEnabledKey, windowBackingScale_ != 1}});
    panelView_->hiDPISwitchControl()->setEnabled(windowBackingScale_ != 1);
    checkRenderView();
}

void PTQuickLook::windowDidChangeScreen(qreal backingScale)
{
    if (backingScale == windowBackingScale_)
        return;
    windowBackingScale_ = backingScale;
    if (panelView_)
        panelView_->hiDPISwitchControl()->setEnabled(windowBackingScale_ != 1);
    checkRenderView();
    // Every preview's pixels depend on the screen.
    reloadData();
}

bool PTQuickLook::pixelMode() const
{
    return windowBackingScale_ != 1 && pt::Defaults::standard().boolForKey(HiDPIModeEnabledKey);
}

void PTQuickLook::checkHiDPI()
{
    if (panelView_)
        panelView_->hiDPISwitchControl()->setEnabled(windowBackingScale_ != 1);
    checkRenderView();
    if (itemType_ != PTItem::SVG)
        reloadData();
}

void PTQuickLook::checkRenderView()
{
    if (!panelView_)
        return;
    const bool vector = itemType_ == PTItem::SVG || itemType_ == PTItem::PDF;
    panelView_->renderView()->setHidden(vector || !panelView_->hiDPISwitchControl()->isEnabled());
}

void PTQuickLook::defaultsChanged(const QString& key)
{
    if (key == HiDPIModeEnabledKey)
        checkHiDPI();
    else if (key == PTPreferenceKeys::DarkModeAutoColorIcons && observesDarkMode_)
        reloadData();
}

void PTQuickLook::clear()
{
    images_.clear();
    itemID_ = {};
    itemType_ = -1;
}

void PTQuickLook::reloadData()
{
    PTItem* shown = delegate_ ? delegate_->itemForQuickLook(*this) : nullptr;
    clear();
    if (!shown || !panelView_)
        return;
    itemID_ = shown->objectID();
    itemType_ = shown->type();
    setItem(shown);
    panelView_->titleField()->setText(QStringLiteral("%1 - %2").arg(shown->name(), shown->typeString()));
    if (PTBrowserSidebar::OpenInControl* openInControl = panelView_->openInControl())
        openInControl->setFileURLs({shown->fileURL()});
    images_.assign(Sizes.size(), QImage());
    setCurrentSizeIndex(currentSize_);
    checkRenderView();
}

void PTQuickLook::setItem(PTItem* item)
{
    if (panel_ && item)
        panel_->setWindowTitle(item->name());
}

void PTQuickLook::setCurrentSizeIndex(int index)
{
    currentSize_ = std::clamp(index, 0, LastSizeIndex);
    const int pixels = Sizes[size_t(currentSize_)];
    pt::Defaults::standard().set(PreviewSizeKey, currentSize_);
    if (!panelView_)
        return;
    panelView_->sizeLabel()->setText(QStringLiteral("%1 x %1").arg(pixels));
    const QSignalBlocker blocker(panelView_->sizeSlider());
    panelView_->sizeSlider()->setValue(currentSize_);
    // Without an item only the size changes; its previews come with the next item.
    if (images_.empty())
        return;
    PTItem* shown = item();
    if (!shown) {
        clear();
        panelView_->imageView()->setImage({});
        return;
    }
    QImage& preview = images_[size_t(currentSize_)];
    if (preview.isNull())
        preview = generatePreviewImageWithSize(*shown, pixels);
    panelView_->imageView()->setImage(preview);
}

void PTQuickLook::increaseSize()
{
    if (currentSize_ < LastSizeIndex)
        setCurrentSizeIndex(currentSize_ + 1);
}

void PTQuickLook::decreaseSize()
{
    if (currentSize_ > 0)
        setCurrentSizeIndex(currentSize_ - 1);
}

QImage PTQuickLook::generatePreviewImageWithSize(PTItem& item, int pixels) const
{
    PTImageCacheOptions options;
    qreal points = pixels;
    if (item.type() == PTItem::SVG) {
        const bool autoColor = pt::Defaults::standard().boolForKey(PTPreferenceKeys::DarkModeAutoColorIcons);
        if (PTThemeIsAppearance(PTAppearanceDark) && autoColor)
            options.color = PTStyles::defaultDarkModeWhite();
    } else if (pixelMode()) {
        // The preview covers that many screen pixels.
        points = std::trunc(pixels / windowBackingScale_);
    }
    options.size = QSizeF(points, points);
    options.scale = windowBackingScale_;
    const PTImageCacheRendering rendering = PTImageCacheRenderer::render(PTImageCacheJob::forItem(item, options));
    if (rendering.invalid || item.type() == PTItem::SVG)
        return rendering.image;
    // A preview shows a small bitmap at the chosen size too: fitted up as well as down.
    return differentStuff::imageByScalingProportionallyInSize(rendering.image, options.size, true);
}

void PTQuickLook::setBackgroundPreset(int tag)
{
    const QColor color = PTQuickLookPanelView::presetColor(tag);
    if (!color.isValid())
        return;
    if (panelView_)
        panelView_->backgroundControl()->setColor(color);
    else
        setBackgroundColor(color);
}

void PTQuickLook::exportIcon()
{
    const std::shared_ptr<PTBrowserTransfer> transfer = PTBrowserTransfer::installed();
    PTItem* shown = item();
    if (!transfer || !shown || !panelView_)
        return;
    const PTBrowserTransfer::ExportOutput output{QStringLiteral("%1s").arg(Sizes[size_t(currentSize_)]),
                                                 panelView_->colorControl()->color()};
    transfer->presentExportSheet({shown}, output, panel_);
}

void PTQuickLook::openIn()
{
    PTItem* shown = item();
    PTBrowserSidebar::OpenInControl* openInControl = panelView_ ? panelView_->openInControl() : nullptr;
    const std::shared_ptr<PTBrowserSidebar> sidebar = PTBrowserSidebar::installed();
    if (!shown || !openInControl || openInControl->selectedApplication().isEmpty() || !sidebar)
        return;
    // Through the sidebar, which tells the user when the launch fails.
    sidebar->openFilesInApplication({shown->fileURL()}, openInControl->selectedApplication());
}

void PTQuickLook::hide()
{
    if (isVisible()) {
        if (delegate_)
            delegate_->quickLookWillClose(*this);
        panel_->close();
        if (delegate_)
            delegate_->quickLookDidClose(*this);
    }
    observesDarkMode_ = false;
    images_.clear();
}

void PTQuickLook::centrePanel()
{
    const QWidget* parent = panel_->parentWidget();
    QRect area;
    if (parent)
        area = parent->window()->frameGeometry();
    else if (const QScreen* screen = panel_->screen())
        area = screen->availableGeometry();
    QRect frame = panel_->frameGeometry();
    frame.moveCenter(area.center());
    panel_->move(frame.topLeft());
}

void PTQuickLook::windowWillClose()
{
    observesDarkMode_ = false;
    clear();
    QRect frame = panel_->frameGeometry();
    if (const QScreen* screen = panel_->screen()) {
        const QRect area = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width())));
        frame.moveTop(std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height())));
    }
    lastFrame_ = frame;
    qApp->removeEventFilter(this);
    panel_->deleteLater();
    panel_ = nullptr;
    panelView_ = nullptr;
}

bool PTQuickLook::eventFilter(QObject* watched, QEvent* event)
{
    if (!panel_)
        return false;
    if (watched == panel_ && event->type() == QEvent::Close) {
        windowWillClose();
        return false;
    }
    if (event->type() == QEvent::KeyRelease) {
        seenKeyPress_ = nullptr;
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::KeyPress || !widget || widget->window() != panel_)
        return false;
    if (event == seenKeyPress_ && seenKeyReceiver_ && widget->isAncestorOf(seenKeyReceiver_))
        return false;
    seenKeyPress_ = event;
    seenKeyReceiver_ = widget;
    auto* key = static_cast<QKeyEvent*>(event);
    // Holding Space brings the panel back to the middle.
    if (key->key() == Qt::Key_Space && key->isAutoRepeat())
        centrePanel();
    return delegate_ && delegate_->quickLookHandleEvent(*this, key);
}
