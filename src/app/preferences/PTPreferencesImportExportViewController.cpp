#include "app/preferences/PTPreferencesImportExportViewController.h"

#include "app/preferences/PTPreferencesTitleLabel.h"

#include "platform/runtime/Defaults.h"
#include "ui/PTPersistedImportOptions.h"
#include "ui/PTPreferenceKeys.h"
#include "ui/controls/PTSwitchControl.h"
#include "ui/theme/PTStyles.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QSignalBlocker>
#include <QHBoxLayout>
#include <QSlider>

#include <vector>

PTPreferencesImportExportViewController::PTPreferencesImportExportViewController(QWidget* parent)
    : PTPreferencesPane(Identifier, parent)
{
    addSection(tr("Import File Types"), tr("Files of these types are imported; others are passed over."),
           makeSwitchGrid({{QStringLiteral("SVG"), makeImportSwitch(QStringLiteral("SVG"), 0x8)},
                           {QStringLiteral("PNG"), makeImportSwitch(QStringLiteral("PNG"), 0x80)},
                           {QStringLiteral("GIF"), makeImportSwitch(QStringLiteral("GIF"), 0x10)},
                           {QStringLiteral("PDF"), makeImportSwitch(QStringLiteral("PDF"), 0x200)},
                           {QStringLiteral("ICNS"), makeImportSwitch(QStringLiteral("ICNS"), 0x100)},
                           {QStringLiteral("ICO"), makeImportSwitch(QStringLiteral("ICO"), 0x4000)},
                           {QStringLiteral("WebP"), makeImportSwitch(QStringLiteral("WebP"), 0x1000)},
                           {QStringLiteral("OTF"), makeImportSwitch(QStringLiteral("OTF"), 0x20)},
                           {QStringLiteral("TTF"), makeImportSwitch(QStringLiteral("TTF"), 0x40)}},
                          5));
    const QString groups = tr("Create groups and sets from folders");
    const QString recursive = tr("Search folders recursively");
    const QString icns = tr("Expand ICNS into sizes");
    const QString sprites = tr("Expand sprite sheets");
    const QString names = tr("Keep file names");
    const QString ico = tr("Expand ICO into sizes");
    const QString tags = tr("Use tags from files");
    addSection(tr("Importing"), QString(),
           makeSwitchGrid({{groups, makeImportSwitch(groups, 0x2)},
                           {recursive, makeImportSwitch(recursive, 0x4)},
                           {icns, makeImportSwitch(icns, 0x400)},
                           {ico, makeImportSwitch(ico, 0x8000)},
                           {sprites, makeImportSwitch(sprites, 0x800)},
                           {names, makeImportSwitch(names, 0x2000)},
                           {tags, makeImportSwitch(tags, 0x10000)}},
                          2));
    std::vector<std::pair<QString, PTSwitchControl*>> exportCells;
    using Row = std::pair<QString, QString>;
    for (const auto& [title, key] : {Row{tr("Keep original names"), PTPreferenceKeys::ExportKeepOriginalNames},
                                     Row{tr("Remember the last outputs"), PTPreferenceKeys::ExportMaintainState},
                                     Row{tr("Tag exported files"), PTPreferenceKeys::ExportTagFile},
                                     Row{tr("Remove SVG width and height"),
                                         PTPreferenceKeys::ExportSVGRemoveWidthHeight}}) {
        PTSwitchControl* control = makeSwitch(title);
        control->setObjectName(key);
        pt::Defaults::standard().bindBool(control, "checked", key);
        exportCells.emplace_back(title, control);
    }
    addSection(tr("Exporting"), QString(), makeSwitchGrid(exportCells, 2));
    addRow(tr("Quality"), tr("For JPG, WebP and other lossy outputs."), makeQualityControls());
    finishRows();

    setOptions(PTPersistedImportOptions::persistedImportOptions(false));
    // The pane stores the set it shows, so bits without a switch go and 0x1 stays.
    persistImportOptions();
    PTPersistedImportOptions::tellWorldAboutImportOptionsChanging();

    const pt::Defaults& defaults = pt::Defaults::standard();
    // Showing stored values is not an edit: the controls store nothing until both show what is stored.
    const QSignalBlocker blockProgressive(progressiveControl_);
    const QSignalBlocker blockQuality(qualitySlider_);
    if (defaults.objectForKey(PTPreferenceKeys::ExportProgressive).isValid())
        progressiveControl_->setChecked(defaults.boolForKey(PTPreferenceKeys::ExportProgressive));
    if (defaults.objectForKey(PTPreferenceKeys::ExportQuality).isValid())
        qualitySlider_->setValue(
            qRound(std::clamp(defaults.doubleForKey(PTPreferenceKeys::ExportQuality), 0.0, 1.0) * 100));
    updateQuality();
}

PTSwitchControl* PTPreferencesImportExportViewController::makeImportSwitch(const QString& title, qint64 bit)
{
    PTSwitchControl* control = makeSwitch(title);
    importSwitches_.push_back({bit, control});
    connect(control, &PTSwitchControl::toggled, this, &PTPreferencesImportExportViewController::importSwitchChanged);
    return control;
}

QWidget* PTPreferencesImportExportViewController::makeSwitchGrid(
    const std::vector<std::pair<QString, PTSwitchControl*>>& cells, int columns)
{
    auto* grid = new QWidget;
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(6);
    for (int i = 0; i < int(cells.size()); ++i) {
        auto* label = new PTPreferencesTitleLabel(cells[i].first);
        label->setFont(PTStyles::systemFont(12));
        const int row = i / columns;
        const int column = (i % columns) * 2;
        layout->addWidget(cells[i].second, row, column);
        layout->addWidget(label, row, column + 1);
        layout->setColumnStretch(column + 1, 1);
    }
    return grid;
}

QWidget* PTPreferencesImportExportViewController::makeQualityControls()
{
    auto* controls = new QWidget;
    auto* layout = new QHBoxLayout(controls);
    layout->setContentsMargins(0, 0, 0, 0);
    qualitySlider_ = new QSlider(Qt::Horizontal);
    qualitySlider_->setRange(0, 100);
    qualitySlider_->setValue(100);
    qualitySlider_->setFixedWidth(140);
    qualitySlider_->setAccessibleName(tr("Export Quality"));
    qualityLabel_ = new PTPreferencesTitleLabel;
    qualityLabel_->setFont(PTStyles::systemFont(12));
    qualityLabel_->setMinimumWidth(36);
    qualityLabel_->setAccessibleName(tr("Export Quality Percentage"));
    progressiveControl_ = new QCheckBox(tr("Progressive"));
    progressiveControl_->setAccessibleName(tr("Progressive Output"));
    layout->addWidget(qualitySlider_);
    layout->addWidget(qualityLabel_);
    layout->addWidget(progressiveControl_);
    connect(qualitySlider_, &QSlider::valueChanged, this, &PTPreferencesImportExportViewController::updateQuality);
    connect(progressiveControl_, &QCheckBox::toggled, this, &PTPreferencesImportExportViewController::archivePreferences);
    return controls;
}

qint64 PTPreferencesImportExportViewController::importOptions() const
{
    qint64 options = 0x1;
    for (const ImportSwitch& entry : importSwitches_) {
        if (entry.control->isChecked() && entry.control->isEnabled())
            options |= entry.bit;
    }
    return options;
}

void PTPreferencesImportExportViewController::setOptions(qint64 options)
{
    settingOptions_ = true;
    for (const ImportSwitch& entry : importSwitches_)
        entry.control->setChecked((options & entry.bit) == entry.bit);
    settingOptions_ = false;
}

void PTPreferencesImportExportViewController::persistImportOptions()
{
    pt::Defaults::standard().set(PTPreferenceKeys::ImportOptions, importOptions());
}

PTSwitchControl* PTPreferencesImportExportViewController::importSwitch(qint64 bit) const
{
    for (const ImportSwitch& entry : importSwitches_) {
        if (entry.bit == bit)
            return entry.control;
    }
    return nullptr;
}

void PTPreferencesImportExportViewController::importSwitchChanged()
{
    if (settingOptions_)
        return;
    persistImportOptions();
    PTPersistedImportOptions::tellWorldAboutImportOptionsChanging();
}

void PTPreferencesImportExportViewController::updateQuality()
{
    qualityLabel_->setText(QStringLiteral("%1%").arg(qualitySlider_->value()));
    archivePreferences();
}

void PTPreferencesImportExportViewController::archivePreferences()
{
    pt::Defaults& defaults = pt::Defaults::standard();
    defaults.set(PTPreferenceKeys::ExportQuality, qualitySlider_->value() / 100.0);
    defaults.set(PTPreferenceKeys::ExportProgressive, progressiveControl_->isChecked());
}
