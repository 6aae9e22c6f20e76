#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QUrl>

#include <memory>

class PTLicence;
class QAction;
class QWidget;

// What the icon browser asks of the application shell: the main window, the toolbar's filter, icon colour and
// width refit, the main menu's dark-grid and hover-label items, a place after "Find" for the search scope toggle,
// the preferences window, and the file manager behind its warning. The shell installs its implementation at
// start-up; tests install fakes. Notices go through PTLibraryShell.
class PTBrowserShell {
public:
    virtual ~PTBrowserShell() = default;
    // The parent of sheets; null while there is none.
    virtual QWidget* mainWindow() = 0;
    // The toolbar filter's type tag (1: all types) and licence (null: all licences).
    virtual qint64 selectedType() = 0;
    virtual PTLicence* selectedLicence() = 0;
    // Resets type and licence filter.
    virtual void clearSelectedType() = 0;
    // The colour well's colour; invalid when it has none.
    virtual QColor iconColor() = 0;
    // The grid options control fits its width to a new grid size.
    virtual void recalculateGridViewOptionsWidth() = 0;
    // Main-menu items the grid controller targets and retitles; null without a menu.
    virtual QAction* darkModeMenuItem() = 0;
    virtual QAction* gridViewHoverLabelsMenuItem() = 0;
    // Puts the action in the Edit menu right after "Find".
    virtual void addActionAfterFind(QAction* action) = 0;
    // Opens the preferences on the pane of that identifier ("licenses", ...).
    virtual void presentPreferences(const QString& identifier) = 0;
    // Shows the files in the file manager, after a warning about changing them there that the user can turn off.
    virtual void showFileURLsInFinder(const QList<QUrl>& urls) = 0;

    static void install(std::shared_ptr<PTBrowserShell> shell);
    static std::shared_ptr<PTBrowserShell> installed();
};
