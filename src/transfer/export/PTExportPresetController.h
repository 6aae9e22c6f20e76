#pragma once

#include "platform/runtime/Error.h"
#include "transfer/export/PTExportOutputOptionSet.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <mutex>

class QMenu;
class QWidget;

// The user's presets: the "ptpreset" files in the library's folder "Export Presets". Loads, saves, imports,
// exports and deletes them, announces changes, and builds the preset menu. The list is read from any thread;
// saving and loading are safe from workers, panels and sheets are main-thread only.
class PTExportPresetController {
public:
    static inline const QString PresetsDidChangeNotification =
        QStringLiteral("PTExportPresetControllerPresetsDidChangeNotification");
    static inline const QString PresetsWereImportedNotification =
        QStringLiteral("PTExportPresetControllerPresetsWereImportedNotification");
    // The menu actions' property holding the chosen set.
    static constexpr const char* OutputSetProperty = "outputSet";
    static inline const QString SaveFolderName = QStringLiteral("Export Presets");

    static PTExportPresetController& sharedController();
    static QString extension() { return PTExportOutputOptionSet::Extension; }
    // The current library's preset folder, created when missing; empty without a library.
    static QString saveLocation();

    QList<PTExportOutputOptionSet> presets() const;
    // Reads the folder again and posts the change notification.
    void reload();

    // Writes the set atomically over its own file when that still holds a preset of the same name; otherwise into
    // the folder under a safe, unique name made from its name, and only then removes the file it had before. The
    // set then names the file written.
    pt::Result<void> savePreset(PTExportOutputOptionSet& set, bool purgeCache);
    // Removes the set's file (a set without one is left alone) and reloads.
    void deletePreset(const PTExportOutputOptionSet& set);
    // Reads the file as a preset and saves it into the store under a new identifier; the source stays as it is.
    pt::Result<void> importPresetAtURL(const QString& path, bool purgeCache);

    // Imports the files behind a progress sheet, off the main thread; then reloads, posts the imported
    // notification and calls the completion with the names of the files that were not presets.
    static void importPresets(const QStringList& paths, std::function<void(const QStringList& notPresets)> completion);
    // Asks where to put a copy of the set (with its own identifier) and reveals the written file.
    static void exportPreset(const PTExportOutputOptionSet& set);
    // The path with the extension "ptpreset"; the copy written there gets a new identifier.
    static pt::Result<QString> exportPresetToPath(const PTExportOutputOptionSet& set, const QString& path);

    // "Your Presets" with the user's presets by name, a separator, then each built-in as a disabled header
    // followed by its sub-presets. Each action of a set carries it under OutputSetProperty and the represented
    // object as its data; choosing one calls the handler with the set.
    QMenu* presetMenu(QWidget* parent, std::function<void(const PTExportOutputOptionSet&)> handler,
                      const QVariant& representedObject = {}) const;

private:
    PTExportPresetController();
    static pt::Result<void> saveInto(PTExportOutputOptionSet& set, const QString& folder);

    mutable std::mutex mutex_;
    QList<PTExportOutputOptionSet> presets_;
};
