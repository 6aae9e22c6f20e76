#include "app/PTAppSideColumns.h"

#include "app/PTMenuItemsController.h"
#include "app/PTSplitViewController.h"

namespace {

int splitIndex(PTSideColumns::Column column)
{
    return column == PTSideColumns::SetsColumn ? PTSplitViewController::SetsColumn
                                               : PTSplitViewController::InspectorColumn;
}

} // namespace

PTAppSideColumns::PTAppSideColumns(PTSplitViewController* split, PTMenuItemsController* menus)
    : split_(split), menus_(menus)
{
}

bool PTAppSideColumns::isColumnHidden(Column column) const
{
    return !split_ || split_->isColumnHidden(splitIndex(column));
}

void PTAppSideColumns::setColumnHidden(Column column, bool hidden)
{
    if (split_)
        split_->setColumnHidden(splitIndex(column), hidden);
}

QAction* PTAppSideColumns::inspectorMenuItem() const
{
    return menus_ ? menus_->inspectorMenuItem() : nullptr;
}

QAction* PTAppSideColumns::collectionsMenuItem() const
{
    return menus_ ? menus_->collectionsMenuItem() : nullptr;
}
