#pragma once

#include "library/upkeep/PTLibraryShell.h"

#include <QStringList>

// Open and save panels over QFileDialog. Folders with a package extension (a library, a bundle) are chosen as one
// item: opening one, by its row or by its typed path, picks it instead of entering it. Open panels that may choose
// folders pick plain folders the same way; double-clicking one still enters it.
class PTFilePanel {
public:
    // The chosen path; empty when cancelled.
    static QString runSave(const PTLibraryShell::PanelRequest& request);
    // The chosen paths; empty when cancelled.
    static QStringList runOpen(const PTLibraryShell::PanelRequest& request, bool multiple);
};
