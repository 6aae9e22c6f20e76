#pragma once

#include "app/preferences/PTPreferencesPane.h"

#include <QString>

#include <optional>
#include <vector>

class QCheckBox;
class QLabel;
class QSlider;

// The Import/Export preferences: the one place where the rest of the program reads the import options (the bit
// set of accepted file types and folder handling). The add-icons sheet pushes a temporary set while it is open,
// reads the effective set and pops it when it closes; every change posts ImportOptionsDidChangeNotification.
// The class operations run on the main thread only. The pane shows the stored set as sixteen switches (a set
// built from them always holds 0x1) and the export settings.
class PTPreferencesImportExportViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("io");
    static const QString ImportOptionsKey;                  // "PTAddControllerImportOptions"
    static const QString ExportQualityKey;                  // "kPTExportQualityKey", 0 to 1
    static const QString ExportProgressiveKey;              // "kPTExportProgressiveKey"
    static const QString ImportOptionsDidChangeNotification; // "PT_PREFERENCES_IMPORT_OPTIONS_DID_CHANGE"
    // Used while nothing is stored: SVG, GIF, TTF, PNG, ICNS, PDF and ICO, folders searched recursively, tags
    // taken from the files.
    static constexpr qint64 DefaultImportOptions = 0x143DC;

    // The last pushed set while one is pushed, else the stored set, else DefaultImportOptions.
    static qint64 persistedImportOptions();
    // With lookInStack false the pushed sets are passed over.
    static qint64 persistedImportOptions(bool lookInStack);
    static void pushPersistedImportOptions(qint64 options);
    // Removes and answers the last pushed set; nothing (and no notification) when none is pushed.
    static std::optional<qint64> popPersistedImportOptions();
    static void tellWorldAboutImportOptionsChanging();

    // Shows the stored set (never a pushed one) and stores it back as the switches give it; shows the stored
    // export quality and progressive output and stores both.
    explicit PTPreferencesImportExportViewController(QWidget* parent = nullptr);

    // 0x1 plus the bit of every switch that is checked and enabled.
    qint64 importOptions() const;
    void setOptions(qint64 options);
    void persistImportOptions();
    // The switch of a bit; null for a bit without one.
    PTSwitchControl* importSwitch(qint64 bit) const;
    QSlider* exportQualitySliderControl() const { return qualitySlider_; }
    QLabel* exportQualityLabel() const { return qualityLabel_; }
    QCheckBox* exportProgressiveControl() const { return progressiveControl_; }
    void updateQuality();
    void archivePreferences();

private:
    struct ImportSwitch {
        qint64 bit;
        PTSwitchControl* control;
    };
    QWidget* makeSwitchGrid(const std::vector<std::pair<QString, PTSwitchControl*>>& cells, int columns);
    PTSwitchControl* makeImportSwitch(const QString& title, qint64 bit);
    QWidget* makeQualityControls();
    void importSwitchChanged();

    std::vector<ImportSwitch> importSwitches_;
    QSlider* qualitySlider_ = nullptr;
    QLabel* qualityLabel_ = nullptr;
    QCheckBox* progressiveControl_ = nullptr;
    bool settingOptions_ = false;
};
