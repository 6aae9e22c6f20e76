#include "app/PTAppController.h"

#include "app/PTAppDelegate.h"
#include "app/PTGridPlaceholder.h"
#include "app/PTInspectorColumn.h"
#include "app/PTInspectorPlaceholder.h"
#include "app/PTMenuItemsController.h"
#include "app/PTSetListPlaceholder.h"
#include "app/PTSourceListColumn.h"
#include "app/PTSplitViewController.h"
#include "app/PTToolbarController.h"
#include "app/PTWindow.h"
#include "ui/PTMainWindow.h"

#include <QGuiApplication>
#include <QLayout>

PTAppController::PTAppController(PTAppDelegate& delegate)
    : menus_(std::make_unique<PTMenuItemsController>())
    , window_(std::make_unique<PTWindow>())
    , split_(std::make_unique<PTSplitViewController>())
{
    PTSetMainWindow(window_.get());
    window_->setMenuBar(menus_->menuBar());
    window_->setCloseHandler([&delegate] { delegate.terminate(); });
    window_->resize(1100, 700);

    // The grid first: the columns around it may ask for it while they are made.
    grid_ = new PTGridPlaceholder;
    if (const auto column = PTSourceListColumn::installed()) {
        sourceList_ = column->makeColumn(nullptr);
    } else {
        auto* sets = new PTSetListPlaceholder;
        connect(sets, &PTSetListPlaceholder::setsSelected, grid_, &PTGridPlaceholder::showSets);
        grid_->showSets(sets->selectedSets());
        sourceList_ = sets;
    }
    const auto inspectorColumn = PTInspectorColumn::installed();
    inspector_ = inspectorColumn ? inspectorColumn->makeColumn(nullptr) : new PTInspectorPlaceholder;
    split_->setColumns(sourceList_, grid_, inspector_);
    window_->setContentView(split_->view());
    toolbar_ = std::make_unique<PTToolbarController>(window_->titleBar());

    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            makeActiveApplication();
    });
    window_->layout()->activate();
    split_->restore();
    makeActiveApplication();
}

PTAppController::~PTAppController()
{
    if (PTMainWindow() == window_.get())
        PTSetMainWindow(nullptr);
    toolbar_.reset();
}

void PTAppController::makeActiveApplication()
{
    if (!window_->isVisible())
        window_->show();
    window_->raise();
    window_->activateWindow();
}
