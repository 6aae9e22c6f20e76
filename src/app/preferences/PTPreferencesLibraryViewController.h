#pragma once

#include "app/PTBuildInfo.h"
#include "app/preferences/PTPreferencesPane.h"

#include <functional>

class QComboBox;
class QLabel;

// The current library and its backups: where they are, how often a backup is made, when the last was, and the
// commands that switch, move, re-index and back up the library; with a help page in the build, a button that opens
// it.
class PTPreferencesLibraryViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("library");
    // Asks for a folder starting at the path; empty when the user cancelled.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& start)>;

    // An empty help address leaves the help button out.
    explicit PTPreferencesLibraryViewController(QString helpURL = PTBuildInfo::libraryHelpURL(),
                                                QWidget* parent = nullptr);

    QLabel* libraryPathControl() const { return libraryPath_; }
    QLabel* backupPathControl() const { return backupPath_; }
    QComboBox* askFrequencyControl() const { return frequency_; }
    QLabel* lastBackupControl() const { return lastBackup_; }
    // Null when the build has no help page.
    PTSegmentedControl* helpControl() const { return help_; }
    void setFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

    // A cancelled panel changes nothing.
    void changeBackupLocation();
    void backupLibrary();
    void recheckLastBackupDate();
    // The help page on keeping a library in a synced folder, in the default browser.
    void openHelp();

private:
    // The path over a line of buttons; the trailing one, if any, at the far end.
    QWidget* makePathRow(QLabel* path, const std::vector<QWidget*>& buttons, QWidget* trailing = nullptr);
    QComboBox* makeFrequencyControl();

    QLabel* libraryPath_;
    QLabel* backupPath_;
    QComboBox* frequency_;
    QLabel* lastBackup_;
    QString helpURL_;
    PTSegmentedControl* help_ = nullptr;
    FolderChooser chooseFolder_;
};
