#pragma once

#include "platform/runtime/NotificationCenter.h"
#include "transfer/export/PTExporter.h"
#include "ui/views/PTSheet.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class PTExportSheetOptionViewController;

class PTSheetButton;
class PTSheetTextField;
class PTSheetViewPopupButton;
class PTSheetViewTitleBarController;
class QAction;
class QMenu;
class QPushButton;
class QVBoxLayout;

// The "Export Icons" sheet: a preset pop-up (Default, Custom Options, the user's presets, the built-ins), one row
// per output (at most 15), a name field with Create or Update to keep the rows as a preset of the user's, and
// Export, which asks for a folder and runs the exporter behind a progress sheet. Main thread only.
class PTExportSheetController : public QObject {
    Q_OBJECT
public:
    static constexpr int MaximumRows = 15;
    // The preferences pane the title bar's button opens: import and export.
    static inline const QString PreferencesPane = QStringLiteral("io");
    // Tags of the preset pop-up's items.
    enum PresetTag { CustomTag = 0, BuiltInTag = 1, UserTag = 2, DefaultTag = 4 };

    PTExportSheetController(QList<PTExporter::Item> items, const std::optional<PTExportOutputOptionSet>& set,
                            QObject* parent = nullptr);
    ~PTExportSheetController() override;

    PTSheet* window() const { return sheet_; }
    void presentSheetFromWindow(QWidget* parent, std::function<void()> completion);

    // Asks for a folder when none is given, applies the export quality preferences to every output, runs the
    // exporter behind a progress sheet, reveals the written files and calls the completion with them.
    static void performExportOfItems(const QList<PTExporter::Item>& items, PTExportOutputOptionSet set,
                                     const QString& directory, std::function<void(const QStringList&)> completion,
                                     QWidget* window);

    QList<PTExportOutputOption> outputOptions() const;
    // A new set holding the rows' outputs.
    PTExportOutputOptionSet outputSet() const;
    void setOptionsFromSet(const PTExportOutputOptionSet& set, bool ignoreAutoColorSelection);
    void addNewOptionRowWithOption(const std::optional<PTExportOutputOption>& option, bool ignorePresetCheck);
    void addOptionFromSender(bool copyLast);
    const QList<PTExportSheetOptionViewController*>& rows() const { return rows_; }
    QAction* selectedPresetItem() const;
    // Chooses the pop-up item as the user would.
    void choosePresetItem(QAction* item);
    QMenu* presetMenu() const { return presetMenu_; }
    PTSheetTextField* presetNameInput() const { return presetNameInput_; }
    QPushButton* savePresetButton() const { return savePresetButton_; }
    QPushButton* addOptionButton() const { return addOptionButton_; }
    bool presetActionViewVisible() const;
    QString subTitle() const;

    void savePreset();
    void deleteSelectedPreset();
    void performExport();
    void cancel();
    // The sheet's outputs as the set that the next sheet opens with.
    void storeLastUsedSet();
    static void resetLastUsedSet();

private:
    void repopulatePresetDropdown(const QString& selectIdentifier);
    void presetsWereImported();
    void setOptionsFromPresetMenuItem(QAction* item);
    void optionViewControllerDidChange();
    void removeExportViewController(PTExportSheetOptionViewController* row);
    void recalculate();
    void selectCustomWithoutAction();
    void resetSaveControlState();
    void updatePresetViewFromSelectedSet();
    void updateSaveEnabled();
    bool userPresetSelected() const;

    QList<PTExporter::Item> items_;
    QList<PTExportSheetOptionViewController*> rows_;
    QPointer<PTSheet> sheet_;
    PTSheetViewTitleBarController* titleBar_;
    PTSheetViewPopupButton* presetControl_;
    QMenu* presetMenu_ = nullptr;
    QWidget* presetActionView_;
    PTSheetTextField* presetNameInput_;
    QPushButton* savePresetButton_;
    QPushButton* presetActionsButton_;
    QVBoxLayout* rowsLayout_;
    QPushButton* addOptionButton_;
    std::function<void()> completion_;
    pt::ObserverToken presetsImportedObserver_;
};
