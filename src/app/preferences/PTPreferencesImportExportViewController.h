#pragma once

#include "app/preferences/PTPreferencesPane.h"

#include <QString>

#include <vector>

class QCheckBox;
class QLabel;
class QSlider;

// The Import/Export preferences: the stored import options (PTPersistedImportOptions) as sixteen switches (a set
// built from them always holds 0x1), and the export settings.
class PTPreferencesImportExportViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("io");
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
