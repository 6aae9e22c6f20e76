#pragma once

#include "library/upkeep/PTProgressPanel.h"
#include "library/upkeep/PTProgressSheet.h"
#include "platform/runtime/Error.h"

#include <QStringList>

#include <functional>
#include <memory>

class PTCollection;

// What the library's upkeep (backups, migration, switching, moving, re-indexing) and its menus ask of the
// application shell: holds that keep the application from quitting, restarts, panels, alerts and sheets. The shell
// installs its implementation at start-up; tests install fakes. Without one, panels answer "cancelled", sheets
// are not shown and restarts do not happen.
class PTLibraryShell {
public:
    struct PanelRequest {
        QString title;
        QString prompt;
        QString proposedName;     // save panels: the name field
        QStringList allowedExtensions; // the file types offered
        // Open panels: whether a file is offered at all.
        std::function<bool(const QString& path)> shouldShowFilename;
        // Folders with these extensions are shown and chosen as one item, never entered.
        QStringList packageExtensions;
        // Open panels: plain folders may be chosen along with files (a double-click still enters one).
        bool canChooseDirectories = false;
    };

    virtual ~PTLibraryShell() = default;
    // Count of holds that keep the application from quitting; releasing the last one lets a refused quit go on.
    virtual void saveTerminationState() = 0;
    virtual void restoreTerminationState() = 0;
    virtual void forceNextAvailableTermination(bool force) = 0;
    // Starts the application anew and quits this one.
    virtual void restartApplication() = 0;
    virtual void showFilesInFileManager(const QStringList& paths) = 0;
    // A new progress sheet with the title (Main thread).
    virtual std::unique_ptr<PTProgressSheet> makeProgressSheet(const QString& title) = 0;
    // A new progress panel, hidden (Main thread).
    virtual std::unique_ptr<PTProgressPanel> makeProgressPanel() = 0;
    // A warning alert with one "OK" button, run modally.
    virtual void presentAlert(const QString& message, const QString& informativeText) = 0;
    virtual void presentError(const pt::Error& error) = 0;
    // The chosen path, or empty when the user cancelled.
    virtual QString runSavePanel(const PanelRequest& request) = 0;
    virtual QString runOpenPanel(const PanelRequest& request) = 0;
    // An open panel that allows several selections; empty when the user cancelled.
    virtual QStringList runOpenPanelForPaths(const PanelRequest& request)
    {
        const QString path = runOpenPanel(request);
        return path.isEmpty() ? QStringList() : QStringList{path};
    }
    // The add-icons sheet on the main window with no files yet and the set preselected as the target; the shell
    // keeps the sheet alive until it finishes.
    virtual void presentAddIconsSheet(PTCollection* target) = 0;
    // A user notice (title and body) posted to the desktop, when the user's notification settings allow it.
    virtual void postNotice(const QString& title, const QString& message) = 0;

    static void install(std::shared_ptr<PTLibraryShell> shell);
    static std::shared_ptr<PTLibraryShell> installed();
    // A new sheet attached to the main window while work goes on (beginSession); null without a shell.
    static std::shared_ptr<PTProgressSheet> presentSheet(const QString& title);
};
