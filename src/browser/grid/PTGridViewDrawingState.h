#pragma once

#include <QtGlobal>

// How cells draw, shared by the grid, its data source and every cell.
struct PTGridViewDrawingState {
    qint64 appearance = 0; // 0 dark, 1 light
    bool showLabels = false;
    bool showGrid = false;
    bool showFileType = false;

    friend bool operator==(const PTGridViewDrawingState&, const PTGridViewDrawingState&) = default;
};
