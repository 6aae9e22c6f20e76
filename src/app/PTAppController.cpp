#include "app/PTAppController.h"

#include "app/PTAppBrowserShell.h"
#include "app/PTAppDelegate.h"
#include "app/PTAppSideColumns.h"
#include "app/PTGridColumn.h"
#include "app/PTInspectorPlaceholder.h"
#include "app/PTMenuItemsController.h"
#include "app/PTSetListPlaceholder.h"
#include "app/PTSidebarPlaceholder.h"
#include "app/PTSplashOnboardingController.h"
#include "app/PTSplitViewController.h"
#include "app/PTToolbarController.h"
#include "app/PTWindow.h"
#include "browser/PTBrowserSidebar.h"
#include "browser/controller/PTGridViewController.h"
#include "browser/controller/PTSearchController.h"
#include "browser/grid/PTGridView.h"
#include "sidebar/PTSourceListColumn.h"
#include "sidebar/inspector/PTInspectorColumn.h"
#include "ui/PTMainWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLayout>
#include <QWindow>

namespace {

PTGridViewController::Objects objectsOf(const QVector<PTCollection*>& sets)
{
    PTGridViewController::Objects objects;
    for (PTCollection* set : sets)
        objects.append(set);
    return objects;
}

} // namespace

PTAppController::PTAppController(PTAppDelegate& delegate)
    : menus_(std::make_unique<PTMenuItemsController>())
    , window_(std::make_unique<PTWindow>())
    , split_(std::make_unique<PTSplitViewController>())
{
    PTSetMainWindow(window_.get());
    window_->setMenuBar(menus_->menuBar());
    window_->setCloseHandler([&delegate] { delegate.terminate(); });
    window_->resize(1100, 700);
    // The grid controller takes its menu items and the toolbar's state through the shell.
    if (!PTBrowserShell::installed())
        PTBrowserShell::install(std::make_shared<PTAppBrowserShell>());

    // The grid first: the columns around it find it as the shared controller while they are made.
    grid_ = std::make_unique<PTGridViewController>();
    grid_->makeSharedController();
    gridColumn_ = new PTGridColumn(grid_->containerView());
    if (const auto column = PTSourceListColumn::installed()) {
        sourceList_ = column->makeColumn(nullptr);
    } else {
        auto* sets = new PTSetListPlaceholder;
        PTGridViewController* grid = grid_.get();
        connect(sets, &PTSetListPlaceholder::setsSelected, grid,
                [grid](const QVector<PTCollection*>& chosen) { grid->setCollections(chosen, objectsOf(chosen), false); });
        PTBrowserSidebar::install(std::make_shared<PTSidebarPlaceholder>(sets));
        sets->propagateSelection();
        sourceList_ = sets;
    }
    const auto inspectorColumn = PTInspectorColumn::installed();
    inspector_ = inspectorColumn ? inspectorColumn->makeColumn(nullptr) : new PTInspectorPlaceholder;
    split_->setColumns(sourceList_, gridColumn_, inspector_);
    window_->setContentView(split_->view());
    toolbar_ = std::make_unique<PTToolbarController>(window_->titleBar());
    search_ = std::make_unique<PTSearchController>(toolbar_->searchField(), grid_.get());

    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* now) {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (now && top->windowHandle() == now)
                lastActive_ = top;
    });
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            makeActiveApplication();
    });
    window_->layout()->activate();
    split_->restore();
    if (inspectorColumn)
        inspectorColumn->splitViewReady(std::make_shared<PTAppSideColumns>(split_.get(), menus_.get()),
                                        PTIsFirstLaunch());
    makeActiveApplication();
}

PTAppController::~PTAppController()
{
    if (PTMainWindow() == window_.get())
        PTSetMainWindow(nullptr);
    search_.reset();
    toolbar_.reset();
    // The controller deletes its own views, which leave the window's column as they go.
    grid_.reset();
    window_.reset();
}

void PTAppController::makeActiveApplication()
{
    // A shown main window keeps its place in the window order: preferences in front of it stay in front.
    if (window_->isVisible() && !window_->isMinimized())
        return;
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void PTAppController::bringForward()
{
    if (!window_->isVisible() || window_->isMinimized())
        return makeActiveApplication();
    QWidget* front = lastActive_ && lastActive_->isVisible() ? lastActive_.data() : window_.get();
    front->raise();
    front->activateWindow();
}
