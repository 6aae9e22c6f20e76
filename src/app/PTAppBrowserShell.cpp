#include "app/PTAppBrowserShell.h"

#include "app/PTMenuItemsController.h"
#include "app/PTToolbarController.h"
#include "app/PTWorkspaceController.h"
#include "app/preferences/PTPreferencesController.h"
#include "browser/views/PTToolbarFilterControl.h"
#include "ui/PTMainWindow.h"

// The toolbar and the menu exist from the main window's set-up on; before it the answers are the neutral ones.

QWidget* PTAppBrowserShell::mainWindow()
{
    return PTMainWindow();
}

qint64 PTAppBrowserShell::selectedType()
{
    const PTToolbarController* toolbar = PTToolbarController::sharedController();
    return toolbar ? toolbar->filterControl()->type() : 1;
}

PTLicence* PTAppBrowserShell::selectedLicence()
{
    const PTToolbarController* toolbar = PTToolbarController::sharedController();
    return toolbar ? toolbar->filterControl()->license() : nullptr;
}

void PTAppBrowserShell::clearSelectedType()
{
    if (PTToolbarController* toolbar = PTToolbarController::sharedController())
        toolbar->filterControl()->clear();
}

QColor PTAppBrowserShell::iconColor()
{
    const PTToolbarController* toolbar = PTToolbarController::sharedController();
    return toolbar ? toolbar->iconColor() : QColor();
}

void PTAppBrowserShell::recalculateGridViewOptionsWidth()
{
    if (PTToolbarController* toolbar = PTToolbarController::sharedController())
        toolbar->recalculateGridViewOptionsWidth();
}

QAction* PTAppBrowserShell::darkModeMenuItem()
{
    const PTMenuItemsController* menus = PTMenuItemsController::sharedController();
    return menus ? menus->darkModeMenuItem() : nullptr;
}

QAction* PTAppBrowserShell::gridViewHoverLabelsMenuItem()
{
    const PTMenuItemsController* menus = PTMenuItemsController::sharedController();
    return menus ? menus->gridViewHoverLabelsMenuItem() : nullptr;
}

void PTAppBrowserShell::addActionAfterFind(QAction* action)
{
    if (PTMenuItemsController* menus = PTMenuItemsController::sharedController())
        menus->addActionAfterFind(action);
}

void PTAppBrowserShell::presentPreferences(const QString& identifier)
{
    PTPreferencesController::sharedController().presentPreferences(identifier);
}

void PTAppBrowserShell::showFileURLsInFinder(const QList<QUrl>& urls)
{
    PTWorkspaceController::showFileURLsInFinder(urls);
}
