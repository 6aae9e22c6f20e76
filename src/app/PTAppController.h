#pragma once

#include <QObject>

#include <memory>

class PTAppDelegate;
class PTGridPlaceholder;
class PTMenuItemsController;
class PTSplitViewController;
class PTToolbarController;
class PTWindow;
class QWidget;

// Turns the main window into the working three-column window: menus first (the grid takes some of their items),
// then the split view with the grid, the sets and the inspector, then the toolbar. It brings the window forward
// whenever the application becomes active. Made once, at the end of launch.
class PTAppController : public QObject {
    Q_OBJECT
public:
    explicit PTAppController(PTAppDelegate& delegate);
    ~PTAppController() override;

    PTWindow* window() const { return window_.get(); }
    PTMenuItemsController* menuItemsController() const { return menus_.get(); }
    PTSplitViewController* splitViewController() const { return split_.get(); }
    PTToolbarController* toolbarController() const { return toolbar_.get(); }
    PTGridPlaceholder* gridView() const { return grid_; }
    QWidget* sourceListColumn() const { return sourceList_; }
    QWidget* inspectorColumn() const { return inspector_; }

    // Shows the main window when it is not visible and makes it active.
    void makeActiveApplication();
    void handleReopen() { makeActiveApplication(); }

private:
    std::unique_ptr<PTMenuItemsController> menus_;
    std::unique_ptr<PTWindow> window_;
    std::unique_ptr<PTSplitViewController> split_;
    std::unique_ptr<PTToolbarController> toolbar_;
    PTGridPlaceholder* grid_ = nullptr;
    QWidget* sourceList_ = nullptr;
    QWidget* inspector_ = nullptr;
};
