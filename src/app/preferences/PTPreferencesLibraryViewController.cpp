#include "app/preferences/PTPreferencesLibraryViewController.h"

#include "app/preferences/PTPreferencesTitleLabel.h"

#include "foundation/DateHelper.h"
#include "library/PTLibraryController.h"
#include "library/store/PTStoreFunctions.h"
#include "library/upkeep/PTLibraryBackupController.h"
#include "library/upkeep/PTLibraryShell.h"
#include "platform/runtime/Defaults.h"
#include "ui/controls/PTSegmentedControl.h"
#include "ui/theme/PTStyles.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

void reveal(const QString& path)
{
    if (const auto shell = PTLibraryShell::installed())
        shell->showFilesInFileManager({path});
}

QLabel* makePathLabel(const QString& accessibleName)
{
    auto* label = new PTPreferencesTitleLabel;
    label->setFont(PTStyles::systemFont(12));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setAccessibleName(accessibleName);
    return label;
}

} // namespace

PTPreferencesLibraryViewController::PTPreferencesLibraryViewController(QString helpURL, QWidget* parent)
    : PTPreferencesPane(Identifier, parent),
      libraryPath_(makePathLabel(tr("Library Location"))),
      backupPath_(makePathLabel(tr("Backup Location"))),
      frequency_(makeFrequencyControl()),
      lastBackup_(makePathLabel(tr("Last Backup"))),
      chooseFolder_([](QWidget* parent, const QString& start) {
          return QFileDialog::getExistingDirectory(parent, tr("Change"), start);
      }),
      helpURL_(std::move(helpURL))
{
    if (!helpURL_.isEmpty()) {
        help_ = makeButton(QStringLiteral("?"), [this] { openHelp(); });
        help_->setMinWidth(28);
        help_->setAccessibleName(tr("Help"));
        help_->setToolTip(tr("Keeping a library in a synced folder"));
    }
    PTLibraryController* library = PTLibraryController::currentLibrary();
    libraryPath_->setText(library ? QDir::toNativeSeparators(library->path()) : tr("No library"));
    backupPath_->setText(QDir::toNativeSeparators(PTLibraryBackupController::defaultBackupLocation()));

    addSection(tr("Library"), QString(), makePathRow(libraryPath_, {
        makeButton(tr("Switch..."), [] { if (auto* l = PTLibraryController::currentLibrary()) l->switchLibrary(); }),
        makeButton(tr("Move..."), [] { if (auto* l = PTLibraryController::currentLibrary()) l->moveLibrary(); }),
        makeButton(tr("Show"), [] { if (auto* l = PTLibraryController::currentLibrary()) reveal(l->path()); }),
        makeButton(tr("Re-index"), [] {
            if (auto* l = PTLibraryController::currentLibrary())
                l->reindexWithRestart(true, PTMainManagedObjectContext());
        })}, help_));
    addSection(tr("Backups"), QString(), makePathRow(backupPath_, {
        makeButton(tr("Change..."), [this] { changeBackupLocation(); }),
        makeButton(tr("Show"), [] { reveal(PTLibraryBackupController::defaultBackupLocation()); })}));
    addRow(tr("Back Up"), tr("When Pictern makes a backup by itself."), frequency_);
    addSection(tr("Last Backup"), QString(), makePathRow(lastBackup_, {
        makeButton(tr("Back Up Now"), [this] { backupLibrary(); })}));
    finishRows();
    recheckLastBackupDate();
}

QWidget* PTPreferencesLibraryViewController::makePathRow(QLabel* path, const std::vector<QWidget*>& buttons,
                                                         QWidget* trailing)
{
    auto* row = new QWidget;
    auto* lines = new QVBoxLayout(row);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->addWidget(path);
    auto* columns = new QHBoxLayout;
    for (QWidget* button : buttons)
        columns->addWidget(button);
    columns->addStretch(1);
    if (trailing)
        columns->addWidget(trailing);
    lines->addLayout(columns);
    return row;
}

QComboBox* PTPreferencesLibraryViewController::makeFrequencyControl()
{
    auto* combo = new QComboBox;
    combo->setAccessibleName(tr("Backup Frequency"));
    const std::pair<QString, int> entries[] = {{tr("Never"), 0},
                                               {QString(), -1},
                                               {tr("Always On Quit"), 1},
                                               {tr("Once A Day On Quit"), 2},
                                               {tr("Once A Week On Quit"), 3},
                                               {tr("Once A Month On Quit"), 4}};
    for (const auto& [title, tag] : entries) {
        if (tag < 0)
            combo->insertSeparator(combo->count());
        else
            combo->addItem(title, tag);
    }
    const QString key = PTLibraryController::BackupFrequencyKey;
    combo->setCurrentIndex(std::max(0, combo->findData(int(pt::Defaults::standard().integerForKey(key)))));
    connect(combo, &QComboBox::activated, combo, [combo, key](int index) {
        pt::Defaults::standard().set(key, combo->itemData(index).toInt());
    });
    return combo;
}

void PTPreferencesLibraryViewController::changeBackupLocation()
{
    const QString chosen = chooseFolder_(window(), PTLibraryBackupController::defaultBackupLocation());
    if (chosen.isEmpty())
        return;
    pt::Defaults::standard().set(PTLibraryBackupController::BackupPathKey, chosen);
    backupPath_->setText(QDir::toNativeSeparators(chosen));
}

void PTPreferencesLibraryViewController::backupLibrary()
{
    if (PTLibraryController* library = PTLibraryController::currentLibrary())
        library->backupLibraryWithMode(0, 2, true);
    recheckLastBackupDate();
}

void PTPreferencesLibraryViewController::openHelp()
{
    QDesktopServices::openUrl(QUrl(helpURL_));
}

void PTPreferencesLibraryViewController::recheckLastBackupDate()
{
    PTLibraryController* library = PTLibraryController::currentLibrary();
    const QDateTime date = library ? library->lastBackupDate() : QDateTime();
    lastBackup_->setText(tr("Last backed up: %1").arg(date.isValid() ? dateHelper::daysString(date, nullptr)
                                                                      : tr("Unknown")));
}
