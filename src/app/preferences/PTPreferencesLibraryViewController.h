#pragma once

#include "app/preferences/PTPreferencesPane.h"

#include <functional>

class QComboBox;
class QLabel;

// The current library and its backups: where they are, how often a backup is made, when the last was, and the
// commands that switch, move, re-index and back up the library.
class PTPreferencesLibraryViewController : public PTPreferencesPane {
    Q_OBJECT
public:
    static inline const QString Identifier = QStringLiteral("library");
    // Asks for a folder starting at the path; empty when the user cancelled.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& start)>;

    explicit PTPreferencesLibraryViewController(QWidget* parent = nullptr);

    QLabel* libraryPathControl() const { return libraryPath_; }
    QLabel* backupPathControl() const { return backupPath_; }
    QComboBox* askFrequencyControl() const { return frequency_; }
    QLabel* lastBackupControl() const { return lastBackup_; }
    void setFolderChooser(FolderChooser chooser) { chooseFolder_ = std::move(chooser); }

    // A cancelled panel changes nothing.
    void changeBackupLocation();
    void backupLibrary();
    void recheckLastBackupDate();

private:
    QWidget* makePathRow(QLabel* path, const std::vector<QWidget*>& buttons);
    QComboBox* makeFrequencyControl();

    QLabel* libraryPath_;
    QLabel* backupPath_;
    QComboBox* frequency_;
    QLabel* lastBackup_;
    FolderChooser chooseFolder_;
};
