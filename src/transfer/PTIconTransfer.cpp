#include "transfer/PTIconTransfer.h"

#include "transfer/copy/PTItemCopyProvider.h"
#include "transfer/export/PTExportPresetController.h"
#include "transfer/export/PTExportSheetController.h"
#include "transfer/import/PTAddIconsSheetPresenter.h"
#include "transfer/import/PTFileOpenHandler.h"
#include "transfer/pasteboard/PTDraggingManager.h"
#include "transfer/pasteboard/PTPasteboardItemProvider.h"
#include "transfer/pasteboard/PTPasteboardMimeData.h"
#include "transfer/replace/PTReplaceIconsSheetController.h"
#include "ui/PTMainWindow.h"

#include <QApplication>
#include <QMenu>

#include <optional>

namespace {

QList<PTExporter::Item> exporterItems(const QVector<PTItem*>& items)
{
    return PTExporter::itemsFrom(QList<PTItem*>(items.begin(), items.end()));
}

void presentSheet(const QVector<PTItem*>& items, const std::optional<PTExportOutputOptionSet>& set, QWidget* parent)
{
    // The sheet lets itself go once it has ended.
    auto* sheet = new PTExportSheetController(exporterItems(items), set);
    sheet->presentSheetFromWindow(parent, [sheet] { sheet->deleteLater(); });
}

PTExportOutputOptionSet setOf(const PTExportOutputOption& option)
{
    PTExportOutputOptionSet set;
    set.addOutputOption(option);
    return set;
}

} // namespace

bool PTIconTransfer::handlesURLs(const QList<QUrl>& urls)
{
    return PTFileOpenHandler::sharedController().handlesURLs(urls);
}

void PTIconTransfer::queueItems(const QList<QUrl>& urls)
{
    PTFileOpenHandler::sharedController().queueItems(urls);
}

QMimeData* PTIconTransfer::mimeDataForItems(const QVector<PTItem*>& items, const QVector<Rendering>& renderings,
                                            Use use)
{
    const QVector<Rendering> each = renderings.isEmpty() ? QVector<Rendering>{Rendering{}} : renderings;
    std::vector<std::unique_ptr<PTPasteboardItemProvider>> providers;
    for (PTItem* item : items) {
        for (const Rendering& rendering : each) {
            auto provider = std::make_unique<PTPasteboardItemProvider>(item);
            provider->color = rendering.color;
            provider->size = rendering.size;
            provider->useInternalRenderer = rendering.internalRenderer;
            provider->outputFormat = rendering.format;
            provider->sizeFormat = rendering.sizeFormat;
            provider->replacementColors = rendering.replacementColors;
            if (rendering.appendSizeSuffix)
                provider->exportOptionHandler = [](PTExportOutputOption& option) {
                    option.setAutoAppendProposedSizeSuffix(true);
                };
            providers.push_back(std::move(provider));
        }
    }
    return new PTPasteboardMimeData(std::move(providers), use == Use::Clipboard);
}

bool PTIconTransfer::addCopyFormatEntries(QMenu* menu, const ItemsSource& items)
{
    const QVector<const PTItemCopyProvider*> entries = PTItemCopyProvider::menuItemsForItems(items());
    for (const PTItemCopyProvider* provider : entries) {
        if (!provider) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(provider->title());
        QObject::connect(action, &QAction::triggered, menu, [provider, items] { provider->copy(items()); });
    }
    return !entries.isEmpty();
}

void PTIconTransfer::addPresetEntries(QMenu* menu, const ItemsSource& items)
{
    const QMenu* presets = PTExportPresetController::sharedController().presetMenu(
        menu, [items](const PTExportOutputOptionSet& set) {
            PTExportSheetController::performExportOfItems(exporterItems(items()), set, {}, {}, PTMainWindow());
        });
    // The actions stay the preset menu's (a hidden child of this one); they only show here.
    menu->addActions(presets->actions());
}

void PTIconTransfer::presentExportSheet(const QVector<PTItem*>& items, int exportFormat)
{
    std::optional<PTExportOutputOptionSet> set;
    if (exportFormat >= 0) {
        PTExportOutputOption option;
        option.format = exportFormat;
        set = setOf(option);
    }
    presentSheet(items, set, PTMainWindow());
}

void PTIconTransfer::presentExportSheet(const QVector<PTItem*>& items, const ExportOutput& output, QWidget* parent)
{
    PTExportOutputOption option;
    option.sizeFormat = output.sizeText;
    option.fillColor = output.fillColor;
    presentSheet(items, setOf(option), parent ? parent->window() : PTMainWindow());
}

void PTIconTransfer::presentReplaceSheet(const QVector<PTItem*>& items,
                                         std::function<void(const QVector<PTItem*>& replaced)> completion)
{
    PTReplaceIconsSheetController::presentForItems(items, PTMainWindow(), std::move(completion));
}

void PTIconTransfer::presentAddIconsSheet(const QList<QUrl>& urls, PTCollection* target)
{
    PTAddIconsSheetPresenter().presentImport(urls, target, {}, {});
}

void PTIconTransfer::beginDrag(const QPointF& point, QWidget* source)
{
    PTDraggingManager& manager = PTDraggingManager::sharedManager();
    manager.begin(point);
    // The drag runs its own event loop, in which only a timer sees the pointer.
    if (PTDraggingManager::canFollowPointer())
        manager.followPointer(source);
}

void PTIconTransfer::moveDrag(const QPointF& point, QWidget* source)
{
    PTDraggingManager::sharedManager().move(point, source, QApplication::queryKeyboardModifiers());
}

void PTIconTransfer::endDrag()
{
    PTDraggingManager::sharedManager().end();
}
