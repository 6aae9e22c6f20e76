#pragma once

#include "sidebar/inspector/PTSideColumns.h"

#include <QPointer>

class PTMenuItemsController;
class PTSplitViewController;

// The main window's side columns and the View menu's items, as the inspector drives them.
class PTAppSideColumns : public PTSideColumns {
public:
    PTAppSideColumns(PTSplitViewController* split, PTMenuItemsController* menus);

    bool isColumnHidden(Column column) const override;
    void setColumnHidden(Column column, bool hidden) override;
    QAction* inspectorMenuItem() const override;
    QAction* collectionsMenuItem() const override;

private:
    QPointer<PTSplitViewController> split_;
    QPointer<PTMenuItemsController> menus_;
};
