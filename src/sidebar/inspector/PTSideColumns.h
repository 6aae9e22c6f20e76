#pragma once

class QAction;

// The main window's side columns as the inspector hides and shows them, and the View menu's items that do it.
// The application shell gives its implementation to the inspector column once the columns are placed.
class PTSideColumns {
public:
    enum Column { SetsColumn, InspectorColumn };

    virtual ~PTSideColumns() = default;
    // A column of a window that is gone counts as hidden, and hiding or showing it does nothing.
    virtual bool isColumnHidden(Column column) const = 0;
    virtual void setColumnHidden(Column column, bool hidden) = 0;
    // The items that hide and show the inspector and the sets; disabled until the inspector takes them over, null
    // without a menu.
    virtual QAction* inspectorMenuItem() const = 0;
    virtual QAction* collectionsMenuItem() const = 0;
};
