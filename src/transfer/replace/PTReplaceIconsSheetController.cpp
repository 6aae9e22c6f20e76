#include "transfer/replace/PTReplaceIconsSheetController.h"

#include "browser/PTBrowserTransfer.h"
#include "browser/cache/PTImageCache.h"
#include "foundation/StringAdditions.h"
#include "library/ImportNaming.h"
#include "library/controllers/PTStoredFileMove.h"
#include "library/controllers/PTTagController.h"
#include "library/entities/PTCollection.h"
#include "library/entities/PTItem.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PTLibraryShell.h"
#include "library/upkeep/PTProgressSheet.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/runtime/NotificationCenter.h"
#include "platform/ui/SheetHost.h"
#include "transfer/import/PTCorruptImagesSheetController.h"
#include "transfer/import/PTPasteBoard.h"
#include "transfer/replace/PTReplaceIconTableViewCellController.h"
#include "transfer/replace/PTReplaceIconTableViewRowView.h"
#include "ui/controls/PTSheetButton.h"
#include "ui/controls/PTTitleLabel.h"
#include "ui/sheets/PTSheetView.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarController.h"
#include "ui/theme/PTStyles.h"
#include "ui/theme/PTThemeController.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTSheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int SheetWidth = 560;
constexpr int SubtitleInset = 20;
const QString ChosenTwiceReason = QStringLiteral("chosen for another icon as well");
const QString NotSavedReason = QStringLiteral("the replacement could not be saved");

} // namespace

void PTReplaceIconsSheetController::presentForItems(const QVector<PTItem*>& items, QWidget* window,
                                                   Completion completion)
{
    if (items.isEmpty()) {
        if (completion)
            completion({});
        return;
    }
    auto* controller = new PTReplaceIconsSheetController(items);
    controller->setCompletionHandler([controller, completion](const QVector<PTItem*>& replaced) {
        if (completion)
            completion(replaced);
        controller->deleteLater();
    });
    controller->presentSheetFromWindow(window);
}

QString PTReplaceIconsSheetController::replaceButtonLabelForCount(int count)
{
    if (count <= 0)
        return QStringLiteral("Select Icons");
    if (count == 1)
        return QStringLiteral("Replace Icon");
    return QStringLiteral("Replace %1 Icons").arg(count);
}

int PTReplaceIconsSheetController::listHeightForRowCount(int count)
{
    const int rowHeight = PTReplaceIconTableViewCellController::RowHeight;
    return count > MaximumUnscrolledRows ? int(ScrolledRows * rowHeight) : count * rowHeight;
}

PTReplaceIconsSheetController::PTReplaceIconsSheetController(const QVector<PTItem*>& items, QObject* parent)
    : QObject(parent), items_(items)
{
    std::stable_sort(items_.begin(), items_.end(), [](const PTItem* a, const PTItem* b) {
        return stringAdditions::cStringComparison(a->name(), b->name()) < 0;
    });
    for (PTItem* item : std::as_const(items_))
        rows_ << new PTReplaceIconTableViewCellController(item, this);
    if (items_.size() != 1)
        buildSheet();
}

PTReplaceIconsSheetController::~PTReplaceIconsSheetController()
{
    if (sheet_) {
        pt::SheetHost::end(sheet_, 0);
        delete sheet_;
    }
}

void PTReplaceIconsSheetController::buildSheet()
{
    sheet_ = new PTSheet;
    sheet_->setAccessibleName(Title);
    auto* sheetView = new PTSheetView;
    auto* windowLayout = new QVBoxLayout(sheet_);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->setSizeConstraint(QLayout::SetFixedSize);
    windowLayout->addWidget(sheetView);
    sheetView->setFixedWidth(SheetWidth);
    auto* main = new QVBoxLayout(sheetView);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);

    titleBar_ = new PTSheetViewTitleBarController(this);
    titleBar_->setTitle(Title);
    titleBar_->setSubTitle(SubTitle);
    // The subtitle is two lines long: the band takes the height the wrapped text needs.
    QLabel* subtitle = titleBar_->subtitleField();
    subtitle->setWordWrap(true);
    const int textWidth = SheetWidth - 2 * SubtitleInset;
    subtitle->resize(textWidth, subtitle->heightForWidth(textWidth));
    titleBar_->view()->resize(SheetWidth, titleBar_->view()->height());
    titleBar_->view()->relayoutAndPropagateFrameChange();
    titleBar_->view()->setFixedHeight(titleBar_->view()->height());
    main->addWidget(titleBar_->view());
    auto* titleSeparator = new PTPanelSeparator;
    titleSeparator->setSoften(true);
    titleSeparator->setIsTitleBar(true);
    main->addWidget(titleSeparator);

    table_ = new QWidget;
    table_->setAccessibleName(QStringLiteral("Icons"));
    table_->setAutoFillBackground(true);
    auto* rowsLayout = new QVBoxLayout(table_);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(0);
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        PTReplaceIconTableViewCellController* row = rows_[i];
        row->view()->setRowIndex(i);
        row->view()->setShouldDrawSeparator(i + 1 < rows_.size());
        rowsLayout->addWidget(row->view());
        row->updateAppearance();
        connect(row, &PTReplaceIconTableViewCellController::enabledChanged, this,
                &PTReplaceIconsSheetController::updateReplaceButton);
    }
    rowsLayout->addStretch();
    scrollArea_ = new QScrollArea;
    scrollArea_->setAccessibleName(QStringLiteral("Icon list"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scrollArea_->setWidgetResizable(true);
    scrollArea_->setWidget(table_);
    scrollArea_->setFixedHeight(listHeightForRowCount(int(rows_.size())));
    main->addWidget(scrollArea_);
    auto* buttonsSeparator = new PTPanelSeparator;
    buttonsSeparator->setSoften(true);
    main->addWidget(buttonsSeparator);

    auto* buttons = new QWidget;
    buttons->setAccessibleName(QStringLiteral("Buttons"));
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(20, 10, 20, 14);
    buttonLayout->addStretch();
    cancelButton_ = new PTSheetCloseButton(QStringLiteral("Cancel"));
    cancelButton_->setAccessibleName(QStringLiteral("Cancel"));
    replaceButton_ = new PTSheetAcceptButton(replaceButtonLabelForCount(0));
    replaceButton_->setAccessibleName(QStringLiteral("Replace"));
    replaceButton_->setEnabled(false);
    buttonLayout->addWidget(cancelButton_);
    buttonLayout->addWidget(replaceButton_);
    main->addWidget(buttons);
    new QShortcut(QKeySequence(Qt::Key_Escape), sheet_, [this] { cancel(); });
    connect(cancelButton_, &QPushButton::clicked, this, &PTReplaceIconsSheetController::cancel);
    connect(replaceButton_, &QPushButton::clicked, this, &PTReplaceIconsSheetController::performReplace);

    appearanceObserver_ = PTAppearanceObserver(this, &PTReplaceIconsSheetController::updateTableBackground);
    updateTableBackground();
}

void PTReplaceIconsSheetController::updateTableBackground()
{
    QPalette palette = table_->palette();
    palette.setColor(QPalette::Window,
                     PTThemeIsAppearance(0) ? PTStyles::sidebarBackgroundColor() : QColor(0xFA, 0xFA, 0xFA));
    table_->setPalette(palette);
    scrollArea_->viewport()->setPalette(palette);
}

void PTReplaceIconsSheetController::updateReplaceButton()
{
    const auto count = std::count_if(rows_.cbegin(), rows_.cend(),
                                     [](const PTReplaceIconTableViewCellController* row) { return row->enabled(); });
    replaceButton_->setText(replaceButtonLabelForCount(int(count)));
    replaceButton_->setEnabled(count > 0 && !performed_);
}

void PTReplaceIconsSheetController::presentSheetFromWindow(QWidget* window)
{
    parentWindow_ = window;
    if (items_.size() != 1) {
        if (window)
            pt::SheetHost::begin(window, sheet_);
        else
            sheet_->show();
        return;
    }
    const std::shared_ptr<PTLibraryShell> shell = PTLibraryShell::installed();
    PTLibraryShell::PanelRequest request;
    request.title = QStringLiteral("Replace Icon");
    request.prompt = PanelPrompt;
    request.allowedExtensions = PTImportExtensions();
    request.shouldShowFilename = [](const QString& path) {
        const QFileInfo info(path);
        return info.isDir() ? !PTImportIsPackage(path) : PTImportPathIsAccepted(path, ImportOptions);
    };
    const QString path = shell ? shell->runOpenPanel(request) : QString();
    if (path.isEmpty()) {
        cancel();
        return;
    }
    rows_.first()->setReplacementURL(QUrl::fromLocalFile(path));
    performReplace();
}

void PTReplaceIconsSheetController::cancel()
{
    if (sheet_) {
        pt::SheetHost::end(sheet_, 0);
        sheet_->hide();
    }
    if (!performed_ && completion_)
        std::exchange(completion_, {})({});
}

void PTReplaceIconsSheetController::performReplace()
{
    if (performed_)
        return;
    QStringList paths;
    for (const PTReplaceIconTableViewCellController* row : std::as_const(rows_)) {
        if (!row->enabled() || row->replacementURL().isEmpty())
            continue;
        const QString path = row->replacementURL().toLocalFile();
        // One imported file can go under one item only.
        if (paths.contains(path)) {
            issues_.append({path, ChosenTwiceReason});
            continue;
        }
        paths << path;
        pending_.append({path, row->item()->objectID()});
    }
    if (pending_.isEmpty())
        return;
    performed_ = true;
    if (replaceButton_) {
        replaceButton_->setEnabled(false);
        cancelButton_->setEnabled(false);
    }
    progress_ = PTLibraryShell::presentSheet(ProgressTitle);

    pt::store::ObjectContext* context = PTHasManagedObjectContext() ? PTMainManagedObjectContext() : nullptr;
    if (!context) {
        finish({});
        return;
    }
    PTCollection* set = PTCollection::insert(*context);
    PTSetNewObjectDefaults(set);
    temporaryFolder_ = set->formattedDirectory();
    const std::shared_ptr<PTImporter2> importer = PTImporter2::create(set, paths, ImportOptions);
    temporarySet_ = set->objectID();
    const QPointer<PTReplaceIconsSheetController> guard(this);
    importer->setCompletionHandler([guard, weak = std::weak_ptr<PTImporter2>(importer)](const PTImporter2::Result& result) {
        if (const std::shared_ptr<PTImporter2> importer = weak.lock(); guard && importer)
            guard->importFinished(importer, result);
    });
    importer->begin();
}

void PTReplaceIconsSheetController::importFinished(const std::shared_ptr<PTImporter2>& importer,
                                                   const PTImporter2::Result& result)
{
    // The library may have been closed while the files were read.
    if (!PTHasManagedObjectContext()) {
        finish({});
        return;
    }
    pt::store::ObjectContext* context = PTMainManagedObjectContext();
    QStringList rejected;
    for (const PTImporter2::Rejected& file : result.rejected)
        rejected << file.path;
    issues_.append(result.rejected);

    PTStoredFileMove move;
    QVector<std::pair<QString, pt::store::ObjectID>> replaced;
    for (const auto& [path, id] : std::as_const(pending_)) {
        if (rejected.contains(path))
            continue;
        PTItem* oldItem = PTItem::from(context->existingObjectWithID(id));
        PTItem* newItem = importer->importedItemForPathURL(path);
        if (!newItem) {
            // A font becomes one item per glyph, none of them the file's own.
            issues_.append({path, PTCorruptImagesSheetController::NoIconReason});
            continue;
        }
        if (!oldItem)
            continue;
        if (const std::optional<QString> error = replaceItem(oldItem, newItem, move)) {
            issues_.append({path, *error});
            continue;
        }
        replaced.append({path, id});
        PTImageCache::sharedCache().purgeImageForObjectID(id);
    }

    // The temporary set goes with every item the import made in it, and its folder with what was not moved out.
    if (PTCollection* set = PTCollection::from(context->existingObjectWithID(temporarySet_))) {
        for (PTItem* item : set->items()) {
            item->setCollection(nullptr);
            context->deleteObject(item);
        }
        context->deleteObject(set);
    }
    if (!temporaryFolder_.isEmpty())
        QDir(temporaryFolder_).removeRecursively();
    move.save([guard = QPointer<PTReplaceIconsSheetController>(this), replaced](bool stored) {
        if (guard)
            guard->replacementsSaved(stored, replaced);
    });
    PTPasteBoard::purgeAndNotify();
}

void PTReplaceIconsSheetController::replacementsSaved(bool stored,
                                                      const QVector<std::pair<QString, pt::store::ObjectID>>& replaced)
{
    QVector<pt::store::ObjectID> items;
    for (const auto& [path, id] : replaced) {
        if (stored)
            items << id;
        else
            issues_.append({path, NotSavedReason});
    }
    if (!issues_.isEmpty()) {
        PTCorruptImagesSheetController sheet(issues_);
        sheet.presentSheetFromWindow(sheet_ ? sheet_.data() : parentWindow_.data());
    }
    finish(items);
}

void PTReplaceIconsSheetController::finish(const QVector<pt::store::ObjectID>& replaced)
{
    const QPointer<PTReplaceIconsSheetController> guard(this);
    pt::dispatchAfter(CompleteLingerSeconds, pt::DispatchQueue::main(), [guard, replaced] {
        if (!guard)
            return;
        if (guard->progress_)
            guard->progress_->setTitle(CompleteTitle);
        pt::dispatchAfter(CompleteLingerSeconds, pt::DispatchQueue::main(), [guard, replaced] {
            if (!guard)
                return;
            if (guard->progress_)
                std::exchange(guard->progress_, nullptr)->endSession();
            guard->cancel();
            QVector<PTItem*> items;
            pt::store::ObjectContext* context = PTHasManagedObjectContext() ? PTMainManagedObjectContext() : nullptr;
            for (const pt::store::ObjectID& id : replaced) {
                if (PTItem* item = context ? PTItem::from(context->existingObjectWithID(id)) : nullptr)
                    items << item;
            }
            if (!items.isEmpty())
                postNotification(items);
            if (guard->completion_)
                std::exchange(guard->completion_, {})(items);
        });
    });
}

void PTReplaceIconsSheetController::postNotification(const QVector<PTItem*>& items)
{
    QVariantList list;
    for (PTItem* item : items)
        list.append(QVariant::fromValue<pt::store::ManagedObject*>(item));
    pt::NotificationCenter::defaultCenter().post(PTBrowserTransfer::ItemsWereReplacedNotification, nullptr,
                                                 {{PTBrowserTransfer::ReplacedItemsKey, list}});
}

std::optional<QString> PTReplaceIconsSheetController::replaceItem(PTItem* oldItem, PTItem* newItem,
                                                                  PTStoredFileMove& move)
{
    PTCollection* set = oldItem->collection();
    const QString folder = set ? set->formattedDirectory() : QString();
    const QString source = newItem->fileURL().toLocalFile();
    if (folder.isEmpty() || source.isEmpty())
        return QStringLiteral("the icon to replace belongs to no set");
    const QString oldFile = oldItem->fileURL().toLocalFile();
    const QString name = PTSafeUniqueFileName(newItem->newFileName(), folder);
    QFile file(source);
    // The new file is in place before the old one goes, so a failure leaves the icon as it was.
    if (!file.rename(QDir(folder).filePath(name)))
        return QStringLiteral("could not be moved into the set: %1").arg(file.errorString());
    PTStoredFileMove::Restore restore = [values = PTStoredFileMove::fileValues(oldItem),
                                         tags = oldItem->tagsString()](PTItem* item) {
        values(item);
        item->setTagsString(tags);
        PTImageCache::sharedCache().purgeImageForObjectID(item->objectID());
    };
    oldItem->setNewFileName(name);
    oldItem->setType(newItem->type());
    oldItem->setDate(newItem->date());
    oldItem->setUnicode(newItem->unicode());
    oldItem->setWidth(newItem->width());
    oldItem->setHeight(newItem->height());
    PTTagController::applyTagsStringArray(newItem->tagComponents().values(), {oldItem}, false);
    move.replaceOnceStored(oldItem, oldFile, std::move(restore));
    return std::nullopt;
}
