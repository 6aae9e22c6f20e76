#pragma once

#include <memory>

class QWidget;

// The left column of the main window: the source list of groups and sets. The sidebar subsystem installs it;
// until then a plain list of the sets stands in.
class PTSourceListColumn {
public:
    virtual ~PTSourceListColumn() = default;
    // The column's widget, made once for the main window, which owns it.
    virtual QWidget* makeColumn(QWidget* parent) = 0;

    static void install(std::shared_ptr<PTSourceListColumn> column);
    static std::shared_ptr<PTSourceListColumn> installed();
};
