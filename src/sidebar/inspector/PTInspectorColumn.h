#pragma once

#include <memory>

class PTSideColumns;
class QWidget;

// The right column of the main window: the inspector of the selected items or set. The sidebar subsystem
// installs it; until then an empty column stands in.
class PTInspectorColumn {
public:
    virtual ~PTInspectorColumn() = default;
    // The column's widget, made once for the main window, which owns it.
    virtual QWidget* makeColumn(QWidget* parent) = 0;
    // The window's columns are placed and their widths restored; the column hides and shows the side columns
    // from then on, and opens the inspector on the first launch.
    virtual void splitViewReady(std::shared_ptr<PTSideColumns> columns, bool firstLaunch) = 0;

    static void install(std::shared_ptr<PTInspectorColumn> column);
    static std::shared_ptr<PTInspectorColumn> installed();
};
