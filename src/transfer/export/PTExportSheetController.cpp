#include "transfer/export/PTExportSheetController.h"

#include "browser/PTBrowserShell.h"
#include "foundation/MenuAdditions.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/Defaults.h"
#include "platform/runtime/DispatchQueue.h"
#include "platform/ui/SheetHost.h"
#include "transfer/export/PTExportBuiltInPresets.h"
#include "transfer/export/PTExportPresetController.h"
#include "transfer/export/PTExportSheetOptionViewController.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/colour/PTColourWellControl.h"
#include "ui/controls/PTSheetButton.h"
#include "ui/controls/PTSheetTextField.h"
#include "ui/controls/PTSheetViewPopupButton.h"
#include "ui/sheets/PTSheetView.h"
#include "ui/sheets/PTSheetViewTitleBackgroundView.h"
#include "ui/sheets/PTSheetViewTitleBarController.h"
#include "ui/views/PTPanelSeparator.h"
#include "ui/views/PTSheet.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMenu>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kSheetWidth = 560;

// The toolbar's icon colour; invalid when it has none.
QColor toolbarIconColor()
{
    const auto shell = PTBrowserShell::installed();
    return shell ? shell->iconColor() : QColor();
}

std::optional<PTExportOutputOptionSet>& lastUsedSet()
{
    static std::optional<PTExportOutputOptionSet> set;
    return set;
}

PTExportOutputOptionSet setOf(const QAction* item)
{
    return item ? item->data().value<PTExportOutputOptionSet>() : PTExportOutputOptionSet();
}

} // namespace

void PTExportSheetController::resetLastUsedSet()
{
    lastUsedSet().reset();
}

PTExportSheetController::PTExportSheetController(QList<PTExporter::Item> items,
                                                 const std::optional<PTExportOutputOptionSet>& set, QObject* parent)
    : QObject(parent), items_(std::move(items)), sheet_(new PTSheet)
{
    sheet_->setAccessibleName(QStringLiteral("Export Icons"));
    auto* sheetView = new PTSheetView;
    auto* windowLayout = new QVBoxLayout(sheet_);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    windowLayout->setSizeConstraint(QLayout::SetFixedSize);
    windowLayout->addWidget(sheetView);
    auto* main = new QVBoxLayout(sheetView);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    sheetView->setFixedWidth(kSheetWidth);

    titleBar_ = new PTSheetViewTitleBarController(this);
    titleBar_->setTitle(QStringLiteral("Export Icons"));
    titleBar_->setSubTitle(QStringLiteral("%1 Icon%2 Selected")
                               .arg(items_.size())
                               .arg(items_.size() < 2 ? QString() : QStringLiteral("s")));
    titleBar_->setShowsActionButton(true);
    titleBar_->accessoryView()->setToolTip(QStringLiteral("Export Preferences"));
    titleBar_->accessoryView()->setAccessibleName(QStringLiteral("Export Preferences"));
    connect(titleBar_, &PTSheetViewTitleBarController::actionTriggered, this, [] {
        if (const auto shell = PTBrowserShell::installed())
            shell->presentPreferences(PreferencesPane);
    });
    // The band sizes itself to its title and subtitle; the layout keeps that height.
    titleBar_->view()->resize(kSheetWidth, titleBar_->view()->height());
    titleBar_->view()->relayoutAndPropagateFrameChange();
    titleBar_->view()->setFixedHeight(titleBar_->view()->height());
    main->addWidget(titleBar_->view());
    auto* separator = new PTPanelSeparator;
    separator->setSoften(true);
    separator->setIsTitleBar(true);
    main->addWidget(separator);

    auto* presetView = new QWidget;
    presetView->setAccessibleName(QStringLiteral("Preset"));
    auto* presetLayout = new QHBoxLayout(presetView);
    presetLayout->setContentsMargins(20, 16, 20, 0);
    presetLayout->setSpacing(10);
    presetControl_ = new PTSheetViewPopupButton;
    presetControl_->setAccessibleName(QStringLiteral("Preset"));
    presetControl_->setFixedWidth(200);
    presetLayout->addWidget(presetControl_);
    presetActionView_ = new QWidget;
    auto* actionLayout = new QHBoxLayout(presetActionView_);
    actionLayout->setContentsMargins(0, 0, 0, 0);
    presetNameInput_ = new PTSheetTextField;
    presetNameInput_->setAccessibleName(QStringLiteral("Preset name"));
    savePresetButton_ = new PTSheetCloseButton(QStringLiteral("Create"));
    savePresetButton_->setAccessibleName(QStringLiteral("Save preset"));
    presetActionsButton_ = new PTSheetCloseButton(QStringLiteral("\u2026"));
    presetActionsButton_->setAccessibleName(QStringLiteral("Preset actions"));
    actionLayout->addWidget(presetNameInput_, 1);
    actionLayout->addWidget(savePresetButton_);
    actionLayout->addWidget(presetActionsButton_);
    presetLayout->addWidget(presetActionView_, 1);
    presetActionView_->hide();
    main->addWidget(presetView);

    auto* optionsView = new QWidget;
    optionsView->setAccessibleName(QStringLiteral("Outputs"));
    rowsLayout_ = new QVBoxLayout(optionsView);
    rowsLayout_->setContentsMargins(0, 20, 0, 20);
    rowsLayout_->setSpacing(7);
    auto* addView = new QWidget;
    auto* addLayout = new QHBoxLayout(addView);
    addLayout->setContentsMargins(20, 0, 20, 0);
    addOptionButton_ = new PTSheetCloseButton(QStringLiteral("Add Output"));
    addOptionButton_->setAccessibleName(QStringLiteral("Add output"));
    addLayout->addWidget(addOptionButton_);
    addLayout->addStretch();
    rowsLayout_->addWidget(addView);
    main->addWidget(optionsView);

    auto* buttons = new QWidget;
    buttons->setAccessibleName(QStringLiteral("Buttons"));
    auto* buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(20, 10, 20, 14);
    buttonLayout->addStretch();
    auto* cancelButton = new PTSheetCloseButton(QStringLiteral("Cancel"));
    cancelButton->setAccessibleName(QStringLiteral("Cancel"));
    auto* exportButton = new PTSheetAcceptButton(QStringLiteral("Export"));
    exportButton->setAccessibleName(QStringLiteral("Export"));
    buttonLayout->addWidget(cancelButton);
    buttonLayout->addWidget(exportButton);
    main->addWidget(buttons);

    new QShortcut(QKeySequence(Qt::Key_Return), sheet_, [this] { performExport(); });
    new QShortcut(QKeySequence(Qt::Key_Escape), sheet_, [this] { cancel(); });
    connect(cancelButton, &QPushButton::clicked, this, &PTExportSheetController::cancel);
    connect(exportButton, &QPushButton::clicked, this, &PTExportSheetController::performExport);
    connect(addOptionButton_, &QPushButton::clicked, this,
            [this] { addOptionFromSender(QGuiApplication::keyboardModifiers() & Qt::AltModifier); });
    connect(savePresetButton_, &QPushButton::clicked, this, &PTExportSheetController::savePreset);
    connect(presetNameInput_, &QLineEdit::textChanged, this, &PTExportSheetController::updateSaveEnabled);

    auto* actionsMenu = new QMenu(presetActionsButton_);
    actionsMenu->addAction(QStringLiteral("Duplicate"), this, [this] {
        PTExportOutputOptionSet copy = setOf(selectedPresetItem()).copy();
        copy.refreshIdentifier();
        copy.name += QStringLiteral(" Copy");
        copy.mutableOutputOptions() = outputOptions();
        PTExportPresetController::sharedController().savePreset(copy, true);
        repopulatePresetDropdown(copy.identifier);
        updatePresetViewFromSelectedSet();
    });
    actionsMenu->addSeparator();
    actionsMenu->addAction(QStringLiteral("Export..."), this,
                           [this] { PTExportPresetController::exportPreset(setOf(selectedPresetItem())); });
    actionsMenu->addSeparator();
    actionsMenu->addAction(QStringLiteral("Delete"), this, &PTExportSheetController::deleteSelectedPreset);
    presetActionsButton_->setMenu(actionsMenu);

    resetSaveControlState();
    repopulatePresetDropdown({});
    presetsImportedObserver_ = pt::NotificationCenter::defaultCenter().addObserver(
        PTExportPresetController::PresetsWereImportedNotification, nullptr,
        [this](const pt::Notification&) { presetsWereImported(); });
    if (set) {
        setOptionsFromSet(*set, true);
    } else if (pt::Defaults::standard().boolForKey(PTPreferenceKeys::ExportMaintainState) && lastUsedSet()) {
        QAction* match = nullptr;
        for (QAction* item : presetMenu_->actions())
            if (item->isEnabled() && item->data().isValid() && setOf(item).identifier == lastUsedSet()->identifier)
                match = item;
        QAction* custom = presetMenu_->actions().value(2);
        presetControl_->selectItem(match ? match : custom);
        if (match && match->property("tag").toInt() == UserTag) {
            presetActionView_->show();
            updatePresetViewFromSelectedSet();
        }
        setOptionsFromSet(*lastUsedSet(), true);
    } else {
        addNewOptionRowWithOption(std::nullopt, true);
    }
    sheet_->adjustSize();
}

PTExportSheetController::~PTExportSheetController()
{
    qDeleteAll(rows_);
    if (sheet_) {
        pt::SheetHost::end(sheet_, 0);
        delete sheet_.data();
    }
}

QString PTExportSheetController::subTitle() const
{
    return titleBar_->subTitle();
}

bool PTExportSheetController::presetActionViewVisible() const
{
    return !presetActionView_->isHidden();
}

void PTExportSheetController::presentSheetFromWindow(QWidget* parent, std::function<void()> completion)
{
    completion_ = std::move(completion);
    pt::SheetHost::begin(parent, sheet_, [this](int) {
        if (completion_)
            completion_();
    });
}

QList<PTExportOutputOption> PTExportSheetController::outputOptions() const
{
    QList<PTExportOutputOption> options;
    for (PTExportSheetOptionViewController* row : rows_)
        options.append(row->option());
    return options;
}

PTExportOutputOptionSet PTExportSheetController::outputSet() const
{
    PTExportOutputOptionSet set;
    set.mutableOutputOptions() = outputOptions();
    return set;
}

QAction* PTExportSheetController::selectedPresetItem() const
{
    return presetControl_->selectedItem();
}

bool PTExportSheetController::userPresetSelected() const
{
    const QAction* item = selectedPresetItem();
    return item && item->property("tag").toInt() == UserTag;
}

void PTExportSheetController::repopulatePresetDropdown(const QString& selectIdentifier)
{
    QMenu* old = presetMenu_;
    presetMenu_ = new QMenu(presetControl_);
    const auto addItem = [this](const QString& title, int tag, const std::optional<PTExportOutputOptionSet>& set,
                                bool indented) {
        const QString shown = menuAdditions::itemTitle(title);
        QAction* item = presetMenu_->addAction(indented ? QStringLiteral("    ") + shown : shown);
        item->setProperty("tag", tag);
        if (set)
            item->setData(QVariant::fromValue(*set));
        return item;
    };
    PTExportOutputOptionSet defaults;
    defaults.name = QStringLiteral("Default");
    defaults.addOutputOption(PTExportOutputOption());
    addItem(QStringLiteral("Default"), DefaultTag, defaults, false);
    presetMenu_->addSeparator();
    addItem(QStringLiteral("Custom Options"), CustomTag, std::nullopt, false);
    presetMenu_->addSeparator();
    QList<PTExportOutputOptionSet> users = PTExportPresetController::sharedController().presets();
    if (!users.isEmpty()) {
        presetMenu_->addSeparator();
        addItem(QStringLiteral("Your Presets"), CustomTag, std::nullopt, false)->setEnabled(false);
        std::stable_sort(users.begin(), users.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
        for (const auto& set : users)
            addItem(set.name, UserTag, set, true);
        presetMenu_->addSeparator();
    }
    QList<PTExportOutputOptionSet> builtIns = PTExportBuiltInPresets::all();
    PTExportBuiltInPresets::sortForMenu(builtIns);
    for (const auto& preset : builtIns) {
        addItem(preset.name, CustomTag, preset, false)->setEnabled(false);
        QList<PTExportOutputOptionSet> subsets = preset.subsets();
        PTExportBuiltInPresets::sortForMenu(subsets);
        for (const auto& subset : subsets)
            addItem(subset.name, BuiltInTag, subset, true);
        presetMenu_->addSeparator();
    }
    QAction* selected = presetMenu_->actions().value(2);
    for (QAction* item : presetMenu_->actions())
        if (!selectIdentifier.isEmpty() && item->isEnabled() && item->data().isValid()
            && setOf(item).identifier == selectIdentifier)
            selected = item;
    presetControl_->setPopupMenu(presetMenu_);
    presetControl_->selectItem(selected);
    // Connected after the button's own handler, so the chosen item is already selected.
    connect(presetMenu_, &QMenu::triggered, this, [this](QAction* item) { setOptionsFromPresetMenuItem(item); });
    delete old;
}

void PTExportSheetController::presetsWereImported()
{
    // The pop-up is made again with the same choice: the user's preset by its identifier, Custom Options, or
    // Default, whose set is made anew with each pop-up.
    const QAction* chosen = selectedPresetItem();
    const bool isDefault = chosen && chosen->property("tag").toInt() == DefaultTag;
    repopulatePresetDropdown(setOf(chosen).identifier);
    if (isDefault)
        presetControl_->selectItem(presetMenu_->actions().first());
}

void PTExportSheetController::choosePresetItem(QAction* item)
{
    presetControl_->selectItem(item);
    setOptionsFromPresetMenuItem(item);
}

void PTExportSheetController::setOptionsFromPresetMenuItem(QAction* item)
{
    if (!item)
        return;
    const int tag = item->property("tag").toInt();
    if (tag == CustomTag && !item->data().isValid()) {
        presetActionView_->hide();
        return;
    }
    if (tag == UserTag) {
        presetActionView_->show();
        updatePresetViewFromSelectedSet();
        setOptionsFromSet(setOf(item), true);
    } else {
        presetActionView_->hide();
        setOptionsFromSet(setOf(item), false);
    }
    updateSaveEnabled();
}

void PTExportSheetController::setOptionsFromSet(const PTExportOutputOptionSet& set, bool ignoreAutoColorSelection)
{
    QList<QColor> oldColours;
    QColor common;
    if (!ignoreAutoColorSelection) {
        const QList<PTExportOutputOption> old = outputOptions();
        for (const auto& option : old)
            oldColours.append(option.fillColor);
        const bool allSame = !old.isEmpty() && std::all_of(old.begin(), old.end(), [&](const auto& option) {
            return option.fillColor.isValid() && option.fillColor == old.first().fillColor;
        });
        if (allSame)
            common = old.first().fillColor;
    }
    qDeleteAll(rows_);
    rows_.clear();
    const QList<PTExportOutputOption> options = set.outputOptions();
    for (qsizetype i = 0; i < options.size(); ++i) {
        PTExportOutputOption option = options[i];
        if (!ignoreAutoColorSelection) {
            if (common.isValid())
                option.fillColor = common;
            else if (i < oldColours.size() && oldColours[i].isValid())
                option.fillColor = oldColours[i];
        }
        addNewOptionRowWithOption(option, true);
    }
    if (!rows_.isEmpty())
        rows_.last()->focus();
}

void PTExportSheetController::addNewOptionRowWithOption(const std::optional<PTExportOutputOption>& option,
                                                        bool ignorePresetCheck)
{
    PTExportOutputOption value = option.value_or(PTExportOutputOption());
    if (!option) {
        const QColor icon = toolbarIconColor();
        value.fillColor = icon.isValid() ? icon : (rows_.isEmpty() ? QColor() : rows_.last()->option().fillColor);
    }
    auto* row = new PTExportSheetOptionViewController;
    row->setOption(value);
    QPointer<PTExportSheetController> self(this);
    row->changeHandler = [self](PTExportSheetOptionViewController*) {
        if (self)
            self->optionViewControllerDidChange();
    };
    row->removalHandler = [self](PTExportSheetOptionViewController* removed) {
        if (self)
            self->removeExportViewController(removed);
    };
    rowsLayout_->insertWidget(rowsLayout_->count() - 1, row->view());
    rows_.append(row);
    recalculate();
    if (!ignorePresetCheck && !userPresetSelected())
        selectCustomWithoutAction();
}

void PTExportSheetController::addOptionFromSender(bool copyLast)
{
    if (rows_.size() >= MaximumRows)
        return;
    if (copyLast && !rows_.isEmpty())
        addNewOptionRowWithOption(rows_.last()->option(), false);
    else
        addNewOptionRowWithOption(std::nullopt, false);
    optionViewControllerDidChange();
    rows_.last()->focus();
}

void PTExportSheetController::optionViewControllerDidChange()
{
    if (!userPresetSelected()) {
        selectCustomWithoutAction();
        resetSaveControlState();
    }
    presetActionView_->show();
    updateSaveEnabled();
}

void PTExportSheetController::removeExportViewController(PTExportSheetOptionViewController* row)
{
    if (!rows_.contains(row))
        return;
    rows_.removeOne(row);
    row->deleteLater();
    row->view()->hide();
    if (!userPresetSelected())
        selectCustomWithoutAction();
    recalculate();
    optionViewControllerDidChange();
    if (!rows_.isEmpty())
        rows_.last()->focus();
}

void PTExportSheetController::recalculate()
{
    addOptionButton_->parentWidget()->setVisible(rows_.size() != MaximumRows);
    for (PTExportSheetOptionViewController* row : rows_)
        row->setRemovable(rows_.size() > 1);
    if (sheet_)
        sheet_->adjustSize();
}

void PTExportSheetController::selectCustomWithoutAction()
{
    presetControl_->selectItem(presetMenu_->actions().value(2));
}

void PTExportSheetController::resetSaveControlState()
{
    presetNameInput_->clear();
    presetNameInput_->setPlaceholderText(QStringLiteral("Preset Name..."));
    savePresetButton_->setText(QStringLiteral("Create"));
    presetActionsButton_->hide();
    updateSaveEnabled();
}

void PTExportSheetController::updatePresetViewFromSelectedSet()
{
    presetNameInput_->setText(setOf(selectedPresetItem()).name);
    savePresetButton_->setText(QStringLiteral("Update"));
    presetActionsButton_->show();
    updateSaveEnabled();
}

void PTExportSheetController::updateSaveEnabled()
{
    savePresetButton_->setEnabled(!presetNameInput_->text().trimmed().isEmpty());
}

void PTExportSheetController::savePreset()
{
    const QString name = presetNameInput_->text().trimmed();
    if (name.isEmpty())
        return;
    PTExportOutputOptionSet set = userPresetSelected() ? setOf(selectedPresetItem()) : outputSet();
    set.mutableOutputOptions() = outputOptions();
    set.name = name;
    PTExportPresetController::sharedController().savePreset(set, true);
    repopulatePresetDropdown(set.identifier);
    presetActionView_->show();
    updatePresetViewFromSelectedSet();
}

void PTExportSheetController::deleteSelectedPreset()
{
    if (!userPresetSelected())
        return;
    PTExportPresetController::sharedController().deletePreset(setOf(selectedPresetItem()));
    repopulatePresetDropdown({});
    presetActionView_->hide();
    resetSaveControlState();
}

void PTExportSheetController::storeLastUsedSet()
{
    const QAction* item = selectedPresetItem();
    const int tag = item ? item->property("tag").toInt() : CustomTag;
    PTExportOutputOptionSet set = (tag == BuiltInTag || tag == UserTag) ? setOf(item).copy() : outputSet();
    set.mutableOutputOptions() = outputOptions();
    lastUsedSet() = set;
}

void PTExportSheetController::cancel()
{
    storeLastUsedSet();
    if (sheet_)
        pt::SheetHost::end(sheet_, 0);
}

void PTExportSheetController::performExport()
{
    QPointer<PTExportSheetController> self(this);
    performExportOfItems(items_, outputSet(), {}, [self](const QStringList&) {
        if (self)
            self->cancel();
    }, sheet_);
}

void PTExportSheetController::performExportOfItems(const QList<PTExporter::Item>& items, PTExportOutputOptionSet set,
                                                   const QString& directory,
                                                   std::function<void(const QStringList&)> completion, QWidget* window)
{
    QString folder = directory;
    if (folder.isEmpty()) {
        QFileDialog dialog(window);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
        dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Export"));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return;
        folder = dialog.selectedFiles().first();
    }
    // The preferences' quality and progressive scan apply to every output.
    const pt::Defaults& defaults = pt::Defaults::standard();
    const double quality = defaults.doubleForKey(PTPreferenceKeys::ExportQuality);
    const bool progressive = defaults.boolForKey(PTPreferenceKeys::ExportProgressive);
    for (PTExportOutputOption& option : set.mutableOutputOptions()) {
        option.quality = quality;
        option.progressive = progressive;
    }
    std::shared_ptr<PTProgressSheet> sheet = PTLibraryShell::presentSheet(QStringLiteral("Exporting Icons, please wait..."));
    // The exporter lives until its completion has been handed on.
    auto holder = std::make_shared<std::unique_ptr<PTExporter>>(std::make_unique<PTExporter>(items, set, folder));
    PTExporter& exporter = **holder;
    exporter.completionHandler = [sheet, completion, holder](const PTExporter::Result& result) {
        const QStringList paths = result.paths;
        const int failures = result.failures;
        pt::dispatchAfter(0.5, pt::DispatchQueue::main(), [sheet, completion, paths, failures, holder] {
            if (sheet) {
                sheet->setTitle(QStringLiteral("Export Complete"));
                if (failures > 0)
                    sheet->setSubTitle(QStringLiteral("%1 files could not be written").arg(failures));
            }
            holder->reset();
            pt::dispatchAfter(1.0, pt::DispatchQueue::main(), [sheet, completion, paths] {
                if (sheet)
                    sheet->endSession();
                if (const auto shell = PTLibraryShell::installed(); shell && !paths.isEmpty())
                    shell->showFilesInFileManager(paths);
                if (completion)
                    completion(paths);
            });
        });
    };
    exporter.begin();
}
