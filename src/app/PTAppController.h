#pragma once

#include <QObject>
#include <QPointer>

#include <memory>

class PTAppDelegate;
class PTGridColumn;
class PTGridViewController;
class PTMenuItemsController;
class PTSearchController;
class PTSplitViewController;
class PTToolbarController;
class PTWindow;
class QWidget;

// Turns the main window into the working three-column window: menus first (the grid takes some of their items),
// then the shared grid controller, the sets and the inspector around it, the toolbar, and the search over the
// toolbar's field. It brings the window forward whenever the application becomes active. Made once, at the end
// of launch.
class PTAppController : public QObject {
    Q_OBJECT
public:
    explicit PTAppController(PTAppDelegate& delegate);
    ~PTAppController() override;

    PTWindow* window() const { return window_.get(); }
    PTSplitViewController* splitViewController() const { return split_.get(); }
    PTToolbarController* toolbarController() const { return toolbar_.get(); }
    PTGridViewController* gridViewController() const { return grid_.get(); }
    PTGridColumn* gridColumn() const { return gridColumn_; }
    QWidget* sourceListColumn() const { return sourceList_; }
    QWidget* inspectorColumn() const { return inspector_; }

    // Shows the main window and makes it active when it is hidden or minimised; a shown one is left where it is.
    void makeActiveApplication();
    // Another launch asked for the application: a shown main window brings forward the window last active in the
    // application (preferences over it stay over it); a hidden or minimised one comes back as above.
    void bringForward();

private:
    std::unique_ptr<PTMenuItemsController> menus_;
    std::unique_ptr<PTWindow> window_;
    std::unique_ptr<PTSplitViewController> split_;
    std::unique_ptr<PTGridViewController> grid_;
    std::unique_ptr<PTToolbarController> toolbar_;
    std::unique_ptr<PTSearchController> search_;
    PTGridColumn* gridColumn_ = nullptr;
    QWidget* sourceList_ = nullptr;
    QWidget* inspector_ = nullptr;
    QPointer<QWidget> lastActive_;
};
